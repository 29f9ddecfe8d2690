// automenu-tool render draws the demo menu like the committed picture of it
// (doc/demo-menu.png, also shown in the README), and an Arabic and a Japanese
// menu like theirs (tests/data/languages/*/render.png), allowing for small
// differences of font rasterising between machines.
#include <gtest/gtest.h>

#include "MenuSimulation.h"
#include "platform/posix/ScopedEnvironmentVariable.h"
#include "support/GraphicsTestSupport.h"
#include "support/LanguageCorpus.h"
#include "support/TempDir.h"

namespace automenu::tool {
namespace {

struct RenderCase {
    const char* name;
    int hover_entry;  // 0: none
    const char* reference;
};

class DemoRender : public ::testing::TestWithParam<RenderCase> {};

TEST_P(DemoRender, MatchesTheCommittedPicture) {
    const RenderCase& c = GetParam();
    testing::TempDir out;
    {
        MenuSimulation menu(std::string(AUTOMENU_SOURCE_DIR) + "/examples/demo");
        ASSERT_FALSE(menu.StartUp());
        if (c.hover_entry) {
            ASSERT_FALSE(menu.MoveOverEntry(c.hover_entry));
        }
        ASSERT_TRUE(menu.SavePng(out.Join("render.png")));
    }
    const PixelImage rendered = test::LoadPng(out.Join("render.png"));
    const PixelImage reference = test::LoadPng(std::string(AUTOMENU_SOURCE_DIR) + "/doc/" + c.reference);
    ASSERT_GT(reference.width, 0);
    // The hover look of one entry changes about 0.4 % of the pixels.
    EXPECT_LT(test::MismatchShare(rendered, reference, 40), 0.001);
}

INSTANTIATE_TEST_SUITE_P(Demo, DemoRender,
                         ::testing::Values(RenderCase{"after_start", 0, "demo-menu.png"},
                                           RenderCase{"entry_2_hovered", 2, "demo-menu-hover.png"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The start-up error box, as the end-to-end test compares it with the screen.
TEST(ErrorBoxRender, MatchesTheReferenceOfTheScreen) {
    testing::TempDir folder;
    folder.Write("AUTORUN.INF", "[Installation Form Size Setup]\r\nForm Height=abc\r\nForm Width=640\r\n");
    {
        MenuSimulation menu(folder.Path());
        const auto failure = menu.StartUp();
        ASSERT_TRUE(failure);
        ASSERT_TRUE(menu.SaveErrorBoxPng(*failure, folder.Join("box.png")));
    }
    const PixelImage rendered = test::LoadPng(folder.Join("box.png"));
    const PixelImage reference =
        test::LoadPng(std::string(AUTOMENU_SOURCE_DIR) + "/tests/e2e/reference/error-box.png");
    ASSERT_EQ(rendered.width, reference.width);
    ASSERT_EQ(rendered.height, reference.height);
    EXPECT_LT(test::MismatchShare(rendered, reference, 40), 0.005);
}

// On a scaled desktop the same layout comes out that much larger: at 2 each
// design pixel's block matches the committed 96 ppi picture where no text
// edge runs through it, and a fractional scale rounds the size.
TEST(ScaledDemoRender, KeepsTheLayout) {
    const struct {
        double scale;
        int width, height;
    } cases[] = {{2.0, 1268, 910}, {1.5, 951, 683}};
    const PixelImage reference = test::LoadPng(std::string(AUTOMENU_SOURCE_DIR) + "/doc/demo-menu.png");
    ASSERT_EQ(reference.width, 634);
    for (const auto& c : cases) {
        testing::TempDir out;
        {
            MenuSimulation menu(std::string(AUTOMENU_SOURCE_DIR) + "/examples/demo");
            menu.Desktop().SetScale(c.scale);
            ASSERT_FALSE(menu.StartUp());
            ASSERT_TRUE(menu.SavePng(out.Join("render.png")));
        }
        const PixelImage rendered = test::LoadPng(out.Join("render.png"));
        EXPECT_EQ(rendered.width, c.width) << c.scale;
        EXPECT_EQ(rendered.height, c.height) << c.scale;
        if (c.scale != 2.0 || rendered.width != c.width || rendered.height != c.height) continue;
        PixelImage sampled = reference;
        for (int y = 0; y < reference.height; ++y)
            for (int x = 0; x < reference.width; ++x)
                sampled.pixels[static_cast<std::size_t>(y) * reference.width + x] =
                    rendered.pixels[static_cast<std::size_t>(2 * y) * rendered.width + 2 * x];
        EXPECT_LT(test::MismatchShare(sampled, reference, 40), 0.02);
    }
}

PixelImage RenderLanguage(const testing::CorpusLanguage& language, const char* encoding) {
    testing::TempDir folder;
    folder.Write("AUTORUN.INF", language.File(encoding));
    folder.Write(language.Value("BackGround Image Name"),
                 testing::FileBytes(std::string(AUTOMENU_TEST_DATA) + "/pictures/pal1.bmp"));
    {
        MenuSimulation menu(folder.Path());
        EXPECT_FALSE(menu.StartUp());
        EXPECT_TRUE(menu.SavePng(folder.Join("render.png")));
    }
    return test::LoadPng(folder.Join("render.png"));
}

// Arabic shaped and read right to left within a label that reads left to
// right; Japanese drawn with a fallback font. On a PC of the language every
// file of the menu draws the same pixels as its UTF-16 one.
TEST(LanguageRender, ArabicAndJapaneseMatchTheCommittedPictures) {
    for (const auto& language : testing::CorpusLanguages()) {
        if (language.name != "ar" && language.name != "ja") continue;
        SCOPED_TRACE(language.name);
        platform::ScopedEnvironmentVariable locale("LC_ALL", language.locale);
        const PixelImage unicode = RenderLanguage(language, "utf16.inf");
        const PixelImage reference = test::LoadPng(testing::kLanguageCorpus + "/" + language.name + "/render.png");
        ASSERT_GT(reference.width, 0);
        EXPECT_LT(test::MismatchShare(unicode, reference, 40), 0.002);
        for (const char* encoding : {"ansi.inf", "utf8.inf", "utf8-mark.inf"})
            EXPECT_EQ(test::MismatchShare(RenderLanguage(language, encoding), unicode, 0), 0.0) << encoding;
    }
}

}  // namespace
}  // namespace automenu::tool
