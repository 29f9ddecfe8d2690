// automenu-tool check against the example files of tests/data/check: each
// directory holds an AUTORUN.INF and the findings it must give.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "AutorunChecker.h"
#include "CheckCommand.h"
#include "MenuSimulation.h"
#include "TemplateCommand.h"
#include "platform/cairo/CairoPng.h"
#include "support/TempDir.h"

namespace automenu::tool {
namespace {

namespace fs = std::filesystem;

const std::string kCases = std::string(AUTOMENU_TEST_DATA) + "/check";

struct Expected {
    int line;
    Severity severity;
    std::string text;
};

std::vector<Expected> ReadExpected(const std::string& path) {
    std::vector<Expected> findings;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::istringstream words(line);
        Expected e{};
        std::string severity;
        words >> e.line >> severity;
        std::getline(words >> std::ws, e.text);
        e.severity = severity == "error" ? Severity::Error : severity == "note" ? Severity::Note : Severity::Warning;
        findings.push_back(e);
    }
    return findings;
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kCases))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class CheckCase : public ::testing::TestWithParam<std::string> {};

TEST_P(CheckCase, GivesExactlyTheExpectedFindings) {
    const std::string dir = kCases + "/" + GetParam();
    const std::vector<Expected> expected = ReadExpected(dir + "/expected.txt");

    const CheckReport report = CheckDirectory(dir);
    const std::string shown = FormatText(report);
    std::vector<bool> matched(report.findings.size(), false);
    for (const Expected& e : expected) {
        bool found = false;
        for (std::size_t i = 0; i < report.findings.size() && !found; ++i) {
            const Finding& f = report.findings[i];
            if (f.line == e.line && f.severity == e.severity && f.message.find(e.text) != std::string::npos) {
                matched[i] = found = true;
            }
        }
        EXPECT_TRUE(found) << "missing at line " << e.line << ": " << e.text << "\ngot:\n" << shown;
    }
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        if (matched[i] || report.findings[i].severity == Severity::Note) continue;
        ADD_FAILURE() << "unexpected finding: line " << report.findings[i].line << ": " << report.findings[i].message;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, CheckCase, ::testing::ValuesIn(CaseNames()),
                         [](const auto& info) { return info.param; });

TEST(Check, SummaryLineAndJsonCountTheSameFindings) {
    const CheckReport report = CheckDirectory(kCases + "/now_in_lower_case");
    const std::string text = FormatText(report);
    EXPECT_TRUE(text.ends_with("\n1 error, 1 warning\n")) << text;
    EXPECT_NE(text.find("AUTORUN.INF:7: error: "), std::string::npos) << text;
    const std::string json = FormatJson(report);
    EXPECT_NE(json.find("\"errors\": 1,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"warnings\": 1,"), std::string::npos) << json;
    EXPECT_NE(json.find("\\\"Now\\\""), std::string::npos) << "quotes inside messages are escaped:\n" << json;
}

TEST(Check, MissingFileIsAnError) {
    testing::TempDir dir;
    const CheckReport report = CheckDirectory(dir.Path());
    ASSERT_EQ(report.Count(Severity::Error), 1);
    EXPECT_EQ(report.findings[0].line, 0);
    EXPECT_NE(report.findings[0].message.find("smallest captioned window"), std::string::npos)
        << "what the menu really shows: " << report.findings[0].message;
}

TEST(Check, FindsTheFileWhateverTheCaseOfItsName) {
    testing::TempDir dir;
    dir.Write("autorun.inf", "[Installation Form Size Setup]\nForm Height=480\nForm Width=x\n");
    const CheckReport report = CheckDirectory(dir.Path());
    EXPECT_TRUE(report.file.ends_with("/autorun.inf")) << report.file;
    ASSERT_EQ(report.Count(Severity::Error), 1) << FormatText(report);
    for (const Finding& f : report.findings) {
        if (f.severity == Severity::Error) {
            EXPECT_EQ(f.line, 3);
        }
    }
}

// An unpaired surrogate in a UTF-16 name shows as "?", as in values.
TEST(Check, ShowsAnUnpairedSurrogateOfAUtf16NameAsAQuestionMark) {
    std::string text = "\xFF\xFE";
    for (char c : std::string("[Logo Setup]\r\nLogo X=1\r\n")) text += {c, '\0'};
    text.insert(text.size() - 10, "\x00\xD8", 2);  // U+D800 before "X=1"
    testing::TempDir dir;
    dir.Write("AUTORUN.INF", text);
    const std::string report = FormatText(CheckDirectory(dir.Path()));
    EXPECT_NE(report.find("unknown key \"Logo ?X\" in [Logo Setup]"), std::string::npos) << report;
}

TEST(Check, LeavesTheCurrentDirectoryAsItWas) {
    const fs::path before = fs::current_path();
    CheckDirectory(kCases + "/clean");
    EXPECT_EQ(fs::current_path(), before);
}

// A mistake repeated on many lines is listed for its first 200 lines, then
// counted in one note at the first line left out.
TEST(Check, ListsARepeatedMistakeOnlySoOften) {
    std::string text = "[Logo Setup]\nLogo Use=NO\n";
    for (int i = 0; i < 50000; ++i) text += "Logo Use=YES\nLogo Colour=1\n";
    for (int i = 0; i < 30000; ++i) text.append("[Other ").append(std::to_string(i % 300)).append("]\n");
    testing::TempDir dir;
    dir.Write("AUTORUN.INF", text);
    const CheckReport report = CheckDirectory(dir.Path());
    const struct {
        const char* text;
        int listed;
        int first_unlisted_line;
    } kinds[] = {
        {"\"Logo Use\" appears again", 200, 2 + 2 * 200 + 1},
        {"unknown key \"Logo Colour\"", 200, 2 + 2 * 200 + 2},
        {"unknown section [Other", 200, 100003 + 200},
        {"appears again: only the first one", 200, 100003 + 500},
        {"and 49800 more repeated keys", 1, 403},
        {"and 49800 more unknown keys", 1, 404},
        {"and 100 more unknown sections", 1, 100203},
        {"and 29500 more repeated sections", 1, 100503},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.text);
        int listed = 0;
        int last_line = 0;
        for (const Finding& f : report.findings)
            if (f.message.find(kind.text) != std::string::npos) ++listed, last_line = f.line;
        EXPECT_EQ(listed, kind.listed);
        if (kind.listed == 1) {
            EXPECT_EQ(last_line, kind.first_unlisted_line);
        } else {
            EXPECT_LT(last_line, kind.first_unlisted_line);
        }
    }
}

TEST(Template, WrittenWithItsFilesPassesCheckWithoutWarningAndRenders) {
    testing::TempDir dir;
    dir.Write("AUTORUN.INF", TemplateText());
    for (const TemplateFile& f : TemplateFiles()) dir.Write(f.name, f.bytes);

    // The Windows menu is not there until the folder is packed.
    EXPECT_NE(TemplateText().find("\nopen=automenu.exe\nicon=LOGO.ICO\nlabel=Example Product 1.0\n"),
              std::string::npos);
    const CheckReport report = CheckDirectory(dir.Path());
    EXPECT_EQ(report.Count(Severity::Error), 0) << FormatText(report);
    EXPECT_EQ(report.Count(Severity::Warning), 0) << FormatText(report);

    // The background is the PNG file, far smaller than the 8-bit bitmap of
    // 640 x 480 pixels (308 KB), and shades from the top down, row by row.
    EXPECT_NE(TemplateText().find("\nBackGround Image Name=BACK.PNG\n"), std::string::npos);
    const auto files = TemplateFiles();
    const auto png =
        std::find_if(files.begin(), files.end(), [](const TemplateFile& f) { return f.name == "BACK.PNG"; });
    ASSERT_NE(png, files.end());
    EXPECT_LT(png->bytes.size(), 10'000u);
    PixelImage background;
    ASSERT_TRUE(platform::DecodePngWithCairo(
        {reinterpret_cast<const std::uint8_t*>(png->bytes.data()), png->bytes.size()}, background));
    const int w = background.width, h = background.height;
    auto at = [&](int x, int y) { return background.pixels[static_cast<std::size_t>(y) * w + x]; };
    for (int y : {0, h / 2, h - 1}) EXPECT_EQ(at(0, y), at(w - 1, y)) << y;
    EXPECT_LT(at(0, 0) & 0xFF, at(0, h - 1) & 0xFF);

    // It is the window's outer size, so it fills the inner area whatever the
    // frame, leaving no strip of the window's own colour.
    MenuSimulation menu(dir.Path());
    ASSERT_FALSE(menu.StartUp());
    EXPECT_EQ(w, menu.Form()->Width());
    EXPECT_EQ(h, menu.Form()->Height());
    EXPECT_EQ(menu.Form()->BackGroundImage->BoundsRect(), (TRect{0, 0, w, h}));
    EXPECT_FALSE(menu.MoveOverEntry(1));
    EXPECT_FALSE(menu.MoveOverExit());
    EXPECT_FALSE(menu.MoveOverBackground());
    EXPECT_TRUE(menu.SavePng(dir.Join("menu.png")));
    EXPECT_GT(fs::file_size(dir.Join("menu.png")), 0u);
}

// The inner area depends on the frame each system draws, so a background
// as large as the whole window is how it is covered everywhere.
TEST(Check, WarnsOnlyForABackgroundBeyondTheWholeWindow) {
    const struct {
        int left, top, width, height;
        bool warned;
    } cases[] = {
        {0, 0, 632, 453, false}, {0, 0, 640, 480, false}, {0, 0, 641, 480, true},
        {0, 0, 640, 481, true},  {-1, 0, 634, 455, true}, {8, 0, 640, 480, true},
    };
    std::ifstream bitmap(kCases + "/clean/BACK.BMP", std::ios::binary);
    const std::string bmp((std::istreambuf_iterator<char>(bitmap)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bmp.empty());
    for (const auto& c : cases) {
        testing::TempDir dir;
        dir.Write("BACK.BMP", bmp);
        dir.Write("AUTORUN.INF", "[Installation Form Size Setup]\nForm Height=480\nForm Width=640\n"
                                 "[BackGround Image File Setup]\nBackGround Image Use=YES\n"
                                 "BackGround Image Path=NOW\nBackGround Image Name=BACK.BMP\n"
                                 "BackGround Image Height=" + std::to_string(c.height) +
                                     "\nBackGround Image Width=" + std::to_string(c.width) +
                                     "\nBackGround Image Top=" + std::to_string(c.top) +
                                     "\nBackGround Image Left=" + std::to_string(c.left) + "\n");
        const CheckReport report = CheckDirectory(dir.Path());
        const std::string shown = FormatText(report);
        EXPECT_EQ(shown.find("the background picture at") != std::string::npos, c.warned)
            << c.left << "," << c.top << " " << c.width << " x " << c.height << "\n" << shown;
    }
}

TEST(Autorun, FileOfAValueLeavesOutArgumentsAndIconIndex) {
    const struct {
        const char* key;
        const char* value;
        const char* file;
    } cases[] = {
        {"open", "SETUP.EXE /quiet", "SETUP.EXE"},
        {"OPEN", "\"Setup Tool.exe\" /quiet", "Setup Tool.exe"},
        {"open", "\"unclosed quote.exe", "unclosed quote.exe"},
        {"open", "  BIN\\SETUP.EXE", "BIN\\SETUP.EXE"},
        {"icon", "LOGO.ICO,0", "LOGO.ICO"},
        {"icon", "SETUP.EXE, -101", "SETUP.EXE"},
        {"icon", "A,B.ICO", "A,B.ICO"},
        {"shellexecute", "READ ME.HTM", "READ ME.HTM"},
    };
    for (const auto& c : cases) EXPECT_EQ(AutorunFileOf(c.key, c.value), c.file) << c.key << "=" << c.value;
}

TEST(EditDistance, IgnoresCaseAndCountsEdits) {
    EXPECT_EQ(EditDistanceIgnoringCase("Form Heigth", "form height"), 2u);
    EXPECT_EQ(EditDistanceIgnoringCase("", "abc"), 3u);
    EXPECT_EQ(EditDistanceIgnoringCase("Logo Setpu", "Logo Setup"), 2u);
}

}  // namespace
}  // namespace automenu::tool
