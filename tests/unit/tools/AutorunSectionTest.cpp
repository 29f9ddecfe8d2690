// The [autorun] section pack adds: in the file's own encoding and line ends,
// after everything the author wrote, and only where there is none.
#include <gtest/gtest.h>

#include "AutorunSection.h"
#include "PackCommand.h"
#include "support/TempDir.h"

namespace automenu::tool {
namespace {

using namespace std::string_literals;

const AutorunValues kValues{"automenu.exe", "LOGO.ICO", "Setup"};

std::string Utf16Le(std::string_view ascii) {
    std::string out;
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

TEST(AutorunSectionTest, AppendedInTheFilesEncodingAndLineEnds) {
    struct Case {
        const char* name;
        std::string file;
        AutorunValues values;
        std::string added;
    };
    const std::string crlf_section = "[autorun]\r\nopen=automenu.exe\r\nicon=LOGO.ICO\r\nlabel=Setup\r\n";
    const Case cases[] = {
        {"LF, ending in a line end", "[A]\nk=v\n", kValues,
         "\n[autorun]\nopen=automenu.exe\nicon=LOGO.ICO\nlabel=Setup\n"},
        {"CR LF, last line open", "[A]\r\nk=v", kValues, "\r\n\r\n" + crlf_section},
        {"lone CR", "[A]\rk=v\r", {"automenu.exe", "", ""}, "\r[autorun]\ropen=automenu.exe\r"},
        {"no line end anywhere: CR LF", "[A]", kValues, "\r\n\r\n" + crlf_section},
        {"empty file", "", kValues, crlf_section},
        {"UTF-8 with its mark",
         "\xEF\xBB\xBF[A]\r\n",
         {"automenu.exe", "", "Caf\xC3\xA9"},
         "\r\n[autorun]\r\nopen=automenu.exe\r\nlabel=Caf\xC3\xA9\r\n"},
        {"UTF-16LE",
         "\xFF\xFE"s + Utf16Le("[A]\r\n"),
         {"automenu.exe", "", "\xC3\xA9\xF0\x9F\x92\xBF"},
         Utf16Le("\r\n[autorun]\r\nopen=automenu.exe\r\nlabel=") + "\xE9\x00\x3D\xD8\xBF\xDC"s + Utf16Le("\r\n")},
        {"UTF-16BE",
         "\xFE\xFF\0[\0A\0]\0\n"s,
         {"automenu.exe", "", ""},
         "\0\n\0[\0a\0u\0t\0o\0r\0u\0n\0]\0\n"s
         "\0o\0p\0e\0n\0=\0a\0u\0t\0o\0m\0e\0n\0u\0.\0e\0x\0e\0\n"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<std::string> out = WithAutorunSection(c.file, c.values);
        ASSERT_TRUE(out.has_value());
        EXPECT_EQ(*out, c.file + c.added);
        EXPECT_TRUE(HasAutorunSection(*out));
    }
    // Half a UTF-16 character at the end: an addition would be misread.
    EXPECT_FALSE(WithAutorunSection("\xFF\xFE[\0A\0]"s, kValues).has_value());
}

TEST(AutorunSectionTest, AnExistingSectionIsFoundAsWindowsFindsIt) {
    const std::pair<std::string, bool> cases[] = {
        {"[autorun]\nopen=x.exe\n", true},
        {"[Menu]\nk=v\n  [AutoRun]  \n", true},
        {"\xFF\xFE"s + Utf16Le("[AUTORUN]\r\n"), true},
        {"[autorun x]\n", false},
        {"[autorun\nopen=x.exe\n", false},  // no "]": a key line
        {"autorun=1\n", false},
        {"[Menu]\nautorun]\n", false},
    };
    for (const auto& [file, has] : cases) EXPECT_EQ(HasAutorunSection(file), has) << file;
}

TEST(AutorunSectionTest, ValuesComeFromTheMenusLogoAndTitle) {
    automenu::testing::TempDir folder;
    folder.Write("LOGO.ICO", "icon");
    struct Case {
        const char* name;
        std::string ini;
        std::string icon;
        std::string label;
    };
    const std::string title = "[Title Message Label Setup]\nTitle Message Label Use=YES\n";
    const Case cases[] = {
        {"logo of the menu's folder, short title",
         "[Logo Setup]\nLogo Use=YES\nLogo Path=NOW\nLogo Name=logo.ico\n" + title +
             "Title Message Label Caption=Example 1.0\n",
         "logo.ico", "Example 1.0"},
        {"logo elsewhere", "[Logo Setup]\nLogo Use=YES\nLogo Path=D:\\art\nLogo Name=LOGO.ICO\n", "", ""},
        {"logo not there", "[Logo Setup]\nLogo Use=YES\nLogo Path=NOW\nLogo Name=MISSING.ICO\n", "", ""},
        {"logo off", "[Logo Setup]\nLogo Use=NO\nLogo Path=NOW\nLogo Name=LOGO.ICO\n", "", ""},
        {"32 characters fit", title + "Title Message Label Caption=" + std::string(32, 'x') + "\n", "",
         std::string(32, 'x')},
        {"33 do not", title + "Title Message Label Caption=" + std::string(33, 'x') + "\n", "", ""},
        {"title hidden", "[Title Message Label Setup]\nTitle Message Label Use=NO\nTitle Message Label Caption=A\n",
         "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CheckedFile file(folder.Path(), ProfileReader::FromBytes(c.ini));
        const AutorunValues values = AutorunValuesFor(file);
        EXPECT_EQ(values.open, "automenu.exe");
        EXPECT_EQ(values.icon, c.icon);
        EXPECT_EQ(values.label, c.label);
    }
    // The limit counts characters: 20 two-byte ones still fit.
    std::string accented;
    for (int i = 0; i < 20; ++i) accented += "\xC3\xA9";
    const CheckedFile file(
        folder.Path(), ProfileReader::FromBytes("\xEF\xBB\xBF" + title + "Title Message Label Caption=" + accented));
    EXPECT_EQ(AutorunValuesFor(file).label, accented);
    // Without a byte-order mark each byte is a character of the code page.
    const std::string cp1252(32, '\xE9');
    const CheckedFile ansi(folder.Path(), ProfileReader::FromBytes(title + "Title Message Label Caption=" + cp1252));
    EXPECT_EQ(AutorunValuesFor(ansi).label, cp1252);
    const CheckedFile longer(folder.Path(),
                             ProfileReader::FromBytes(title + "Title Message Label Caption=" + cp1252 + "\x80"));
    EXPECT_EQ(AutorunValuesFor(longer).label, "");
}

TEST(AutorunSectionTest, VolumeLabels) {
    const std::pair<const char*, const char*> cases[] = {
        {"Example Product 1.0", "EXAMPLE_PRODUCT_1_0"},
        {"  --medium--  ", "MEDIUM"},
        {"Caf\xC3\xA9 2", "CAF_2"},
        {"...", ""},
        {"abcdefghijklmnopqrstuvwxyz0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"},
    };
    for (const auto& [text, label] : cases) EXPECT_EQ(VolumeLabelOf(text), label) << text;
}

}  // namespace
}  // namespace automenu::tool
