// Menus written in ten languages, each saved the four ways an author saves it
// (tests/data/languages): every encoding gives the same text on a PC of the
// language, the Unicode ones on any PC, and the menu shows it, opens the
// entry's target and loads the picture whose names are in that language.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "formats/CodePage.h"
#include "menu/MenuTestSupport.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/posix/ScopedEnvironmentVariable.h"
#include "support/FileBytes.h"

namespace automenu {
namespace {

namespace fs = std::filesystem;

const std::string kCorpus = std::string(AUTOMENU_TEST_DATA) + "/languages";
const char* const kEncodings[] = {"ansi.inf", "utf8.inf", "utf8-mark.inf", "utf16.inf"};

struct Row {
    std::string section, key, value;
};

struct Language {
    std::string name;
    std::string locale;
    unsigned code_page = 0;
    std::vector<Row> rows;

    std::string Value(std::string_view key) const {
        for (const Row& r : rows)
            if (r.key == key) return r.value;
        ADD_FAILURE() << name << " has no " << key;
        return {};
    }
};

std::vector<Language> Languages() {
    std::vector<Language> out;
    for (const auto& entry : fs::directory_iterator(kCorpus)) {
        if (!entry.is_directory()) continue;
        Language language;
        language.name = entry.path().filename().string();
        std::istringstream lines(testing::FileBytes(entry.path() / "expected.txt"));
        std::string code_page;
        std::getline(lines, language.locale);
        std::getline(lines, code_page);
        language.code_page = static_cast<unsigned>(std::stoul(code_page));
        for (std::string line; std::getline(lines, line);) {
            const std::size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
            language.rows.push_back({line.substr(0, tab1), line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)});
        }
        out.push_back(std::move(language));
    }
    std::sort(out.begin(), out.end(), [](const Language& a, const Language& b) { return a.name < b.name; });
    return out;
}

const CodePage& CodePageOfLocale(const char* locale) {
    LocaleSettings settings;
    settings.lc_all = locale;
    return platform::CodePageFromIconv(ChooseAnsiCodePage(settings));
}

TEST(LanguageCorpus, EveryEncodingReadsTheSameOnAPcOfTheLanguage) {
    const std::vector<Language> languages = Languages();
    ASSERT_GE(languages.size(), 8u);
    for (const Language& language : languages) {
        const CodePage& page = CodePageOfLocale(language.locale.c_str());
        ASSERT_EQ(page.Number(), language.code_page) << language.name;
        for (const char* encoding : kEncodings) {
            SCOPED_TRACE(language.name + "/" + encoding);
            const ProfileReader reader =
                ProfileReader::FromBytes(testing::FileBytes(kCorpus + "/" + language.name + "/" + encoding), page);
            for (const Row& row : language.rows) EXPECT_EQ(reader.ReadString(row.section, row.key, "0"), row.value) << row.key;
        }
    }
}

TEST(LanguageCorpus, UnicodeFilesReadTheSameOnAnEnglishPc) {
    const CodePage& english = CodePageOfLocale("en_US.UTF-8");
    for (const Language& language : Languages()) {
        for (const char* encoding : kEncodings) {
            SCOPED_TRACE(language.name + "/" + encoding);
            const ProfileReader reader =
                ProfileReader::FromBytes(testing::FileBytes(kCorpus + "/" + language.name + "/" + encoding), english);
            int differing = 0;
            for (const Row& row : language.rows) differing += reader.ReadString(row.section, row.key, "0") != row.value;
            // The ANSI file shows as written only where the code page is the author's.
            if (std::string_view(encoding) == "ansi.inf")
                EXPECT_GT(differing, 0);
            else
                EXPECT_EQ(differing, 0);
        }
    }
}

// The menu itself, started from each file in the language's locale: the
// captions it shows, the picture it loads, and the target a click opens.
class LanguageMenuTest : public testing::MenuTest {};

TEST_F(LanguageMenuTest, ShowsTheTextAndOpensTheNamesOfEveryLanguage) {
    const std::string picture = testing::FileBytes(std::string(AUTOMENU_TEST_DATA) + "/pictures/pal1.bmp");
    for (const Language& language : Languages()) {
        platform::ScopedEnvironmentVariable locale("LC_ALL", language.locale.c_str());
        const std::string target = language.Value("Installation Message Label 1 File Path");
        folder.Write(target, "");
        folder.Write(language.Value("BackGround Image Name"), picture);
        for (const char* encoding : kEncodings) {
            SCOPED_TRACE(language.name + "/" + encoding);
            folder.Write("AUTORUN.INF", testing::FileBytes(kCorpus + "/" + language.name + "/" + encoding));
            const std::size_t boxes = desktop.Boxes().size(), opens = desktop.ShellOpens().size();
            app.reset();
            InstallationForm = nullptr;
            app = std::make_unique<TApplication>(desktop, "/opt/menu/automenu");
            app->CreateForm(InstallationForm);
            Pump();
            ASSERT_EQ(desktop.Boxes().size(), boxes) << desktop.Boxes().back().text;
            EXPECT_EQ(Form().TitleMessageLabel->Caption(), language.Value("Title Message Label Caption"));
            EXPECT_EQ(Form().NormalMessageLabel(1)->Caption(), language.Value("Normal Message Label 1 Caption"));
            EXPECT_EQ(Entry(2).Caption(), language.Value("Installation Message Label 2 Caption"));
            EXPECT_EQ(Form().ExitLabel->Caption(), language.Value("Exit Label Caption"));
            Click(Entry(1));
            ASSERT_EQ(desktop.ShellOpens().size(), opens + 1);
            EXPECT_EQ(desktop.ShellOpens().back(), folder.File(target));
        }
    }
}

}  // namespace
}  // namespace automenu
