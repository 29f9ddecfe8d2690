#include "config/ValueRules.h"

#include <string>

#include "base/Exceptions.h"

namespace automenu {

bool IsYes(std::string_view setting) { return setting == "YES"; }

bool IsNow(std::string_view setting) { return setting == "NOW"; }

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsSchemeCharacter(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// The blanks the profile reader trims from a value (a quoted value keeps them).
bool IsBlank(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

}  // namespace

std::string_view UrlScheme(std::string_view value) {
    const std::size_t colon = value.find(':');
    if (colon == std::string_view::npos || colon < 2 || !IsAsciiLetter(value.front())) return {};
    for (std::size_t i = 1; i < colon; ++i)
        if (!IsSchemeCharacter(value[i])) return {};
    if (IsBlank(value.back())) return {};
    return value.substr(0, colon);
}

bool IsUrl(std::string_view value) { return !UrlScheme(value).empty(); }

bool GivesLinuxTarget(std::string_view setting) { return !setting.empty() && setting != "0"; }

namespace {

[[noreturn]] void ThrowNotAnInteger(std::string_view setting) {
    std::string message = "'";
    message.append(setting);
    message.append("' is not a valid integer value");
    throw EConvertError(std::move(message));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::int32_t SettingToInteger(std::string_view setting) {
    std::string_view s = setting;
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);

    std::size_t prefix = 0;
    if (!s.empty() && (s[0] == '$' || s[0] == 'x' || s[0] == 'X')) {
        prefix = 1;
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        prefix = 2;
    }
    if (prefix != 0) {
        s.remove_prefix(prefix);
        if (s.empty()) ThrowNotAnInteger(setting);
        std::uint64_t value = 0;
        for (char c : s) {
            const int digit = HexDigit(c);
            if (digit < 0) ThrowNotAnInteger(setting);
            value = value * 16 + static_cast<std::uint64_t>(digit);
            if (value > 0xFFFFFFFFu) ThrowNotAnInteger(setting);
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }

    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) ThrowNotAnInteger(setting);
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    std::uint64_t value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') ThrowNotAnInteger(setting);
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit) ThrowNotAnInteger(setting);
    }
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(value)) : static_cast<std::int32_t>(value);
}

std::optional<TColor> ColourFromName(std::string_view setting) {
    for (const ColourName& entry : kColourNames)
        if (setting == entry.name) return entry.colour;
    return std::nullopt;
}

TFontStyles ApplyStyleSwitch(TFontStyles current, TFontStyle member, std::string_view setting,
                             StyleSwitchForm form) {
    if (IsYes(setting)) return static_cast<TFontStyles>(current | member);
    if (form == StyleSwitchForm::SetOrClear) return static_cast<TFontStyles>(current & ~member);
    return current;
}

}  // namespace automenu
