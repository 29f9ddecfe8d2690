#include "formats/CodePage.h"

#include <gtest/gtest.h>

#include <random>
#include <string_view>

#include "formats/TextDecoding.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/posix/ScopedEnvironmentVariable.h"

namespace automenu {
namespace {

using namespace std::string_view_literals;

// What Windows' MultiByteToWideChar gives (checked under Wine), from tables
// built with the C library's converters.
TEST(CodePage, DecodesAsWindowsDoes) {
    struct Case {
        unsigned code_page;
        const char* what;
        std::string_view bytes;
        std::string_view utf8;
    } cases[] = {
        {1251, "Russian", "\xCC\xE5\xED\xFE"sv, "Меню"},
        {1250, "Polish",
         "Wyj\x9C"
         "cie \xA3\xF3"
         "d\x9F"sv,
         "Wyjście Łódź"},
        {1252, "the five bytes without a letter are C1 controls", "\x80\x81\x8D\x8F\x90\x9D\x9F"sv,
         "€\u0081\u008D\u008F\u0090\u009DŸ"},
        {1250, "a byte without a letter below 0xA0", "\x81"sv, "\u0081"},
        {1253, "Greek, and its private-use bytes", "\xC1\xAA\xD2\xFF"sv, "Α\uF8F9\uF8FA\uF8FB"},
        {1255, "Hebrew, holam haser for vav, private use", "\xE0\xCA\xD9\xFB\xFF"sv, "א\u05BA\uF88D\uF894\uF896"},
        {1256, "Arabic", "\xC7\x81"sv, "اپ"},
        {1257, "Baltic, and its private-use bytes", "\xE0\xA1\xA5"sv, "ą\uF8FC\uF8FD"},
        {1258, "Vietnamese keeps its combining marks apart", "\xC3\xD2"sv, "Ă\u0309"},
        {874, "Thai, and its private-use bytes", "\xA1\xDB\xFF"sv, "ก\uF8C1\uF8C8"},
        {932, "a trail byte 0x5C is no backslash", "\x83\x5C\x95\x5C"sv, "ソ表"},
        {932, "nor is a trail byte 0x5B a bracket", "\x81[x"sv, "ーx"},
        {932, "half-width katakana are single bytes", "\xB1\xDD"sv, "ｱﾝ"},
        {932, "a lead byte takes a line end with it", "\x81\nA"sv, "・A"},
        {932, "a lead byte at the end", "a\x81"sv, "a・"},
        {932, "single bytes without a letter", "\x80\xA0\xFD\xFF"sv, "\u0080\uF8F0\uF8F1\uF8F3"},
        {936, "Simplified Chinese", "\xC4\xE3\xBA\xC3"sv, "你好"},
        {936, "the euro sign is one byte", "\x80"sv, "€"},
        {936, "an unknown pair is ?",
         "\x81\x0A"
         "b"sv,
         "?b"},
        {949, "Korean, and a letter of its extension", "\xC7\xD1\x81\x41"sv, "한갂"},
        {950, "Traditional Chinese", "\xA4\xA4\xA4\xE5"sv, "中文"},
        {950, "a lead byte at the end", "\xA4"sv, "?"},
        {950, "single bytes without a letter", "\x80\xFF"sv, "\u0080\uF8F8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code_page) + ": " + c.what);
        const CodePage& page = platform::CodePageFromIconv(c.code_page);
        ASSERT_EQ(page.Number(), c.code_page) << "the C library has no converter for it";
        EXPECT_EQ(page.Decode(c.bytes), c.utf8);
    }
}

TEST(CodePage, EncodesWhatItDecodes) {
    struct Case {
        unsigned code_page;
        std::string_view utf8;
        std::optional<std::string_view> bytes;  // nothing: no bytes for it
    } cases[] = {
        {1251, "Установка", "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0"sv},
        {1252, "Menü", "Men\xFC"sv},
        {1252, "Меню", std::nullopt},
        {932, "ソフト表", "\x83\x5C\x83\x74\x83\x67\x95\x5C"sv},
        {932, "・", "\x81\x45"sv},  // the default character has bytes of its own
        {936, "€", "\x80"sv},
        {949, "설치", "\xBC\xB3\xC4\xA1"sv},
        {874, "\U0001F600", std::nullopt},
        {1252, "a\xFF", std::nullopt},  // not UTF-8
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code_page) + ": " + std::string(c.utf8));
        const CodePage& page = platform::CodePageFromIconv(c.code_page);
        EXPECT_EQ(page.Encode(c.utf8), c.bytes);
        if (c.bytes) {
            EXPECT_EQ(page.Decode(*c.bytes), c.utf8);
        }
    }
}

TEST(CodePage, AnyBytesDecodeToBoundedValidUtf8) {
    std::mt19937 random(26);
    for (unsigned number :
         {874u, 932u, 936u, 949u, 950u, 1250u, 1251u, 1252u, 1253u, 1254u, 1255u, 1256u, 1257u, 1258u}) {
        const CodePage& page = platform::CodePageFromIconv(number);
        ASSERT_EQ(page.Number(), number);
        std::string bytes(5000, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        const std::string text = page.Decode(bytes);
        EXPECT_TRUE(IsValidUtf8(text)) << number;
        EXPECT_LE(text.size(), 3 * bytes.size()) << number;
        // The only bytes that are read alone are not lead bytes.
        EXPECT_LE(Utf16Length(text), bytes.size()) << number;
    }
}

TEST(CodePage, LeadBytes) {
    EXPECT_TRUE(CodePage::IsLeadByte(932, 0x81));
    EXPECT_FALSE(CodePage::IsLeadByte(932, 0xA1));  // half-width katakana
    EXPECT_TRUE(CodePage::IsLeadByte(932, 0xFC));
    EXPECT_FALSE(CodePage::IsLeadByte(932, 0xFD));
    EXPECT_TRUE(CodePage::IsLeadByte(936, 0xFE));
    EXPECT_FALSE(CodePage::IsLeadByte(949, 0x80));
    EXPECT_FALSE(CodePage::IsLeadByte(1251, 0x81));
    EXPECT_FALSE(CodePage::IsKnown(65001));
    EXPECT_FALSE(CodePage::IsKnown(437));
}

TEST(CodePage, WindowsGivesEachLocaleItsCodePage) {
    struct Case {
        const char* locale;
        unsigned code_page;
    } cases[] = {
        {"ru_RU.UTF-8", 1251},
        {"uk_UA", 1251},
        {"bg_BG.UTF-8", 1251},
        {"sr_RS", 1251},
        {"sr_RS@latin", 1250},
        {"pl_PL.UTF-8", 1250},
        {"cs_CZ", 1250},
        {"hu_HU.ISO-8859-2", 1250},
        {"el_GR.UTF-8", 1253},
        {"tr_TR.UTF-8", 1254},
        {"az_AZ", 1254},
        {"uz_UZ", 1254},
        {"uz_UZ@cyrillic", 1251},
        {"he_IL.UTF-8", 1255},
        {"ar_EG.UTF-8", 1256},
        {"fa_IR", 1256},
        {"lt_LT", 1257},
        {"lv_LV", 1257},
        {"et_EE.UTF-8", 1257},
        {"vi_VN", 1258},
        {"th_TH.UTF-8", 874},
        {"ja_JP.UTF-8", 932},
        {"ja", 932},
        {"JA_jp.eucJP", 932},
        {"zh_CN.UTF-8", 936},
        {"zh_SG", 936},
        {"zh", 936},
        {"zh_TW.UTF-8", 950},
        {"zh_HK.UTF-8", 950},
        {"ko_KR.UTF-8", 949},
        {"en_US.UTF-8", 1252},
        {"de_DE@euro", 1252},
        {"hi_IN", 1252},
        {"C", 1252},
        {"C.UTF-8", 1252},
        {"POSIX", 1252},
        {"", 1252},
    };
    for (const Case& c : cases) EXPECT_EQ(AnsiCodePageOfLocale(c.locale), c.code_page) << c.locale;
}

TEST(CodePage, TheEnvironmentChoosesTheCodePage) {
    struct Case {
        const char* what;
        LocaleSettings settings;
        unsigned code_page;
    } cases[] = {
        {"nothing set", {}, 1252},
        {"LANG", {nullptr, nullptr, nullptr, "el_GR.UTF-8"}, 1253},
        {"LC_CTYPE before LANG", {nullptr, nullptr, "ja_JP.UTF-8", "el_GR.UTF-8"}, 932},
        {"LC_ALL before both", {nullptr, "ko_KR.UTF-8", "ja_JP.UTF-8", "el_GR.UTF-8"}, 949},
        {"an empty LC_ALL counts as not set", {nullptr, "", "ja_JP.UTF-8", nullptr}, 932},
        {"the override before all", {"1251", "ja_JP.UTF-8", nullptr, nullptr}, 1251},
        {"the override with cp", {"CP950", nullptr, nullptr, nullptr}, 950},
        {"the override as windows-", {"windows-1255", nullptr, nullptr, nullptr}, 1255},
        {"an unknown code page is no override", {"65001", "th_TH", nullptr, nullptr}, 874},
        {"nor is text", {"1251x", nullptr, nullptr, nullptr}, 1252},
    };
    for (const Case& c : cases) EXPECT_EQ(ChooseAnsiCodePage(c.settings), c.code_page) << c.what;

    platform::ScopedEnvironmentVariable all("LC_ALL", "pl_PL.UTF-8");
    EXPECT_EQ(platform::LocaleCodePage().Number(), 1250u);
    platform::ScopedEnvironmentVariable chosen(kCodePageVariable, "936");
    EXPECT_EQ(platform::LocaleCodePage().Number(), 936u);
}

}  // namespace
}  // namespace automenu
