#include "config/ValueRules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/ExpectFailure.h"

namespace automenu {
namespace {

struct IntegerCase {
    std::string_view text;
    std::optional<std::int32_t> expected;  // nothing: EConvertError
};

const IntegerCase kIntegerCases[] = {
    {"0", 0},
    {"300", 300},
    {" 300", 300},
    {"   -7", -7},
    {"+12", 12},
    {"-0", 0},
    {"000123", 123},
    {"2147483647", 2147483647},
    {"-2147483648", -2147483647 - 1},
    {"$1F4", 500},
    {"0x1F4", 500},
    {"0X1f4", 500},
    {"x1F4", 500},
    {"X1f4", 500},
    {"$ff", 255},
    {"$0", 0},
    {"$00000000FF", 255},
    {"$7FFFFFFF", 2147483647},
    {"$FFFFFFFF", -1},
    {"$80000000", -2147483647 - 1},
    {" $10", 16},
    {"", std::nullopt},
    {" ", std::nullopt},
    {"-", std::nullopt},
    {"+", std::nullopt},
    {"$", std::nullopt},
    {"x", std::nullopt},
    {"0x", std::nullopt},
    {"300 ", std::nullopt},
    {"300px", std::nullopt},
    {"3.5", std::nullopt},
    {"\t300", std::nullopt},
    {"2147483648", std::nullopt},
    {"-2147483649", std::nullopt},
    {"99999999999999999999", std::nullopt},
    {"$100000000", std::nullopt},
    {"-$10", std::nullopt},
    {"+$10", std::nullopt},
    {"-0x10", std::nullopt},
    {"$1G", std::nullopt},
    {"0x 1", std::nullopt},
    {"1 000", std::nullopt},
    {"- 1", std::nullopt},
    {"--1", std::nullopt},
    {"twelve", std::nullopt},
    {"\xEF\xBC\x91", std::nullopt},  // a full-width digit
};

// Built by appending: GCC 12 warns falsely on "'" + std::string(...).
std::string Quoted(std::string_view text, std::string_view after) {
    std::string out = "'";
    out.append(text);
    out.append("'");
    out.append(after);
    return out;
}

TEST(SettingToInteger, AcceptedAndRefusedForms) {
    for (const IntegerCase& c : kIntegerCases) {
        SCOPED_TRACE(Quoted(c.text, ""));
        if (c.expected) {
            EXPECT_EQ(SettingToInteger(c.text), *c.expected);
            continue;
        }
        testing::ExpectFailure([&] { SettingToInteger(c.text); }, typeid(EConvertError),
                               Quoted(c.text, " is not a valid integer value"));
    }
}

TEST(ColourFromName, EighteenNamesExactCase) {
    const struct {
        std::string_view name;
        std::optional<TColor> colour;
    } cases[] = {
        {"clAqua", 0xFFFF00},    {"clBlack", 0x000000},  {"clBlue", 0xFF0000},   {"clDkGray", 0x808080},
        {"clFuchsia", 0xFF00FF}, {"clGray", 0x808080},   {"clGreen", 0x008000},  {"clLime", 0x00FF00},
        {"clLtGray", 0xC0C0C0},  {"clMaroon", 0x000080}, {"clNavy", 0x800000},   {"clOlive", 0x008080},
        {"clPurple", 0x800080},  {"clRed", 0x0000FF},    {"clSilver", 0xC0C0C0}, {"clTeal", 0x808000},
        {"clWhite", 0xFFFFFF},   {"clYellow", 0x00FFFF},
        {"clred", std::nullopt}, {"Red", std::nullopt},  {"red", std::nullopt},  {"0", std::nullopt},
        {"", std::nullopt},      {"clRed ", std::nullopt}, {" clRed", std::nullopt}, {"$0000FF", std::nullopt},
        {"255", std::nullopt},   {"clBtnFace", std::nullopt}, {"clGrey", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name));
        EXPECT_EQ(ColourFromName(c.name), c.colour);
    }
    EXPECT_EQ(std::size(kColourNames), 18u);
}

TEST(IsYes, OnlyExactYes) {
    EXPECT_TRUE(IsYes("YES"));
    for (std::string_view off : {"yes", "Yes", "Y", "YES ", " YES", "1", "TRUE", "0", "", "YESS"}) {
        EXPECT_FALSE(IsYes(off)) << off;
    }
}

TEST(IsUrl, ASchemeOfTwoOrMoreCharactersAndAColonMakesALink) {
    const struct {
        std::string_view value;
        std::string_view scheme;  // empty: a path
    } cases[] = {
        {"http://www.example.com/support", "http"},
        {"https://example.com", "https"},
        {"ftp://ftp.example.com/pub", "ftp"},
        {"mailto:support@example.com", "mailto"},
        {"file:///media/cdrom/README.TXT", "file"},
        {"HTTPS://EXAMPLE.COM", "HTTPS"},
        {"ms-settings:display", "ms-settings"},
        {"svn+ssh://host/repo", "svn+ssh"},
        {"x.y-z+1:rest", "x.y-z+1"},
        {"ab:", "ab"},
        {"http:", "http"},  // nothing after the colon is still a link
        {"http://example.com/a b", "http"},
        // Drives and other paths.
        {"C:\\setup.exe", ""},
        {"C:setup.exe", ""},
        {"c:/setup.exe", ""},
        {"\\\\server\\share\\setup.exe", ""},
        {"setup.exe", ""},
        {"docs\\read:me.txt", ""},
        {"1http://example.com", ""},  // a scheme starts with a letter
        {"+http:x", ""},
        {"ht tp://example.com", ""},
        {"http_s://example.com", ""},
        {":http", ""},
        {"", ""},
        {"0", ""},
        // Blanks at either end: the value stays a path, as before links.
        {" http://example.com", ""},
        {"http://example.com ", ""},
        {"http://example.com\t", ""},
        {"\thttp://example.com", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UrlScheme(c.value), c.scheme) << c.value;
        EXPECT_EQ(IsUrl(c.value), !c.scheme.empty()) << c.value;
    }
}

TEST(ApplyStyleSwitch, AddAndSetOrClearForms) {
    const struct {
        TFontStyles current;
        TFontStyle member;
        std::string_view setting;
        StyleSwitchForm form;
        TFontStyles expected;
    } cases[] = {
        {0, fsBold, "YES", StyleSwitchForm::Add, fsBold},
        {0, fsBold, "NO", StyleSwitchForm::Add, 0},
        {fsItalic, fsItalic, "NO", StyleSwitchForm::Add, fsItalic},  // start-up never removes
        {fsItalic, fsBold, "YES", StyleSwitchForm::Add, fsItalic | fsBold},
        {0, fsUnderline, "YES", StyleSwitchForm::SetOrClear, fsUnderline},
        {fsBold | fsItalic, fsItalic, "NO", StyleSwitchForm::SetOrClear, fsBold},
        {fsBold | fsItalic, fsItalic, "yes", StyleSwitchForm::SetOrClear, fsBold},
        {fsStrikeOut, fsBold, "0", StyleSwitchForm::SetOrClear, fsStrikeOut},  // other members untouched
        {fsStrikeOut | fsUnderline, fsUnderline, "YES", StyleSwitchForm::SetOrClear, fsStrikeOut | fsUnderline},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ApplyStyleSwitch(c.current, c.member, c.setting, c.form), c.expected)
            << int(c.current) << " " << int(c.member) << " " << c.setting;
    }
}

}  // namespace
}  // namespace automenu
