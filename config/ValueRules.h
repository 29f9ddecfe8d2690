// How setting texts are taken: switches, integers, colour names and font-style
// switches. Every comparison is exact and case-sensitive.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/Types.h"

namespace automenu {

// On exactly when the text is "YES".
bool IsYes(std::string_view setting);

// The directory value that stands for the current directory: exactly "NOW".
bool IsNow(std::string_view setting);

// A web link or another absolute URL, which a launch target opens as it
// stands: a scheme of two or more letters, digits, "+", "-" or "." that
// starts with a letter, then ":". A drive ("C:\setup.exe", "C:setup.exe")
// has a one-letter scheme and stays a path. Only the exact value counts: one
// with a blank at either end is a path, as every value was before links.
bool IsUrl(std::string_view value);

// The scheme of a URL ("https" of "https://example.com"), or "" for a path.
std::string_view UrlScheme(std::string_view value);

// Whether an entry's Linux target value gives a target: one that is empty,
// or "0" as a missing key reads, leaves the entry to its File Path.
bool GivesLinuxTarget(std::string_view setting);

// The framework's integer conversion: leading spaces, then a decimal number
// with an optional sign, or a hexadecimal one after "$", "x", "X", "0x" or
// "0X" (its 32 bits taken as signed), and nothing after. Anything else raises
// EConvertError "'<text>' is not a valid integer value".
std::int32_t SettingToInteger(std::string_view setting);

struct ColourName {
    std::string_view name;
    TColor colour;
};

// The eighteen accepted colour names, in the order they are tried.
inline constexpr ColourName kColourNames[] = {
    {"clAqua", 0xFFFF00},   {"clBlack", 0x000000}, {"clBlue", 0xFF0000},   {"clDkGray", 0x808080},
    {"clFuchsia", 0xFF00FF}, {"clGray", 0x808080},  {"clGreen", 0x008000},  {"clLime", 0x00FF00},
    {"clLtGray", 0xC0C0C0}, {"clMaroon", 0x000080}, {"clNavy", 0x800000},   {"clOlive", 0x008080},
    {"clPurple", 0x800080}, {"clRed", 0x0000FF},   {"clSilver", 0xC0C0C0}, {"clTeal", 0x808000},
    {"clWhite", 0xFFFFFF},  {"clYellow", 0x00FFFF},
};

// The colour of the first name equal to the text, or nothing.
std::optional<TColor> ColourFromName(std::string_view setting);

enum class StyleSwitchForm {
    Add,         // start-up: "YES" adds the style, anything else leaves the set alone
    SetOrClear,  // mouse moves: "YES" adds the style, anything else removes it
};

// The style set after applying one switch to one member.
TFontStyles ApplyStyleSwitch(TFontStyles current, TFontStyle member, std::string_view setting,
                             StyleSwitchForm form);

}  // namespace automenu
