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

}  // namespace
}  // namespace automenu::tool
