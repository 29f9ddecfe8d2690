// automenu-tool render draws the demo menu like the committed picture of it
// (doc/demo-menu.png, also shown in the README), allowing for small
// differences of font rasterising between machines.
#include <gtest/gtest.h>

#include "MenuSimulation.h"
#include "graphics/GraphicsTestSupport.h"
#include "support/TempDir.h"

namespace automenu::tool {
namespace {

struct RenderCase {
    const char* name;
    int hoverEntry;  // 0: none
    const char* reference;
};

class DemoRender : public ::testing::TestWithParam<RenderCase> {};

TEST_P(DemoRender, MatchesTheCommittedPicture) {
    const RenderCase& c = GetParam();
    testing::TempDir out;
    {
        MenuSimulation menu(std::string(AUTOMENU_SOURCE_DIR) + "/examples/demo");
        ASSERT_FALSE(menu.StartUp());
        if (c.hoverEntry) {
            ASSERT_FALSE(menu.MoveOverEntry(c.hoverEntry));
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

}  // namespace
}  // namespace automenu::tool
