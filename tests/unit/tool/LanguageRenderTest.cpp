// An Arabic and a Japanese menu drawn as the menu draws them, against the
// committed pictures (tests/data/languages/*/render.png): Arabic shaped and
// read right to left within a label that reads left to right, Japanese drawn
// with a fallback font. Each file of the language draws the same pixels as
// its UTF-16 one on a PC of the language.
#include <gtest/gtest.h>


#include "MenuSimulation.h"
#include "graphics/GraphicsTestSupport.h"
#include "platform/posix/ScopedEnvironmentVariable.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace automenu::tool {
namespace {

const std::string kCorpus = std::string(AUTOMENU_TEST_DATA) + "/languages";

PixelImage Render(const std::string& language, const char* encoding, const char* picture_name) {
    testing::TempDir folder;
    folder.Write("AUTORUN.INF", testing::FileBytes(kCorpus + "/" + language + "/" + encoding));
    folder.Write(picture_name, testing::FileBytes(std::string(AUTOMENU_TEST_DATA) + "/pictures/pal1.bmp"));
    {
        MenuSimulation menu(folder.Path());
        EXPECT_FALSE(menu.StartUp());
        EXPECT_TRUE(menu.SavePng(folder.Join("render.png")));
    }
    return test::LoadPng(folder.Join("render.png"));
}

TEST(LanguageRender, ArabicAndJapaneseMatchTheCommittedPictures) {
    const struct {
        const char* language;
        const char* locale;
        const char* picture;
    } cases[] = {
        {"ar", "ar_EG.UTF-8", "خلفية.bmp"},
        {"ja", "ja_JP.UTF-8", "背景.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        platform::ScopedEnvironmentVariable locale("LC_ALL", c.locale);
        const PixelImage unicode = Render(c.language, "utf16.inf", c.picture);
        const PixelImage reference = test::LoadPng(kCorpus + "/" + c.language + "/render.png");
        ASSERT_GT(reference.width, 0);
        // Font rasterising differs a little between machines.
        EXPECT_LT(test::MismatchShare(unicode, reference, 40), 0.002);
        for (const char* encoding : {"ansi.inf", "utf8.inf", "utf8-mark.inf"}) {
            EXPECT_EQ(test::MismatchShare(Render(c.language, encoding, c.picture), unicode, 0), 0.0) << encoding;
        }
    }
}

}  // namespace
}  // namespace automenu::tool
