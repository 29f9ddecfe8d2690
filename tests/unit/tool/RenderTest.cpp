// automenu-tool render draws the demo menu like the committed picture of it
// (doc/demo-menu.png, also shown in the README), allowing for small
// differences of font rasterising between machines.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "MenuSimulation.h"
#include "config/TempDir.h"

namespace automenu::tool {
namespace {

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

Surface LoadPng(const std::string& path) {
    return Surface(cairo_image_surface_create_from_png(path.c_str()), &cairo_surface_destroy);
}

// The share of pixels whose colour differs by more than `tolerance` in a
// channel; 1 when the sizes differ.
double DifferingShare(cairo_surface_t* a, cairo_surface_t* b, int tolerance) {
    const int w = cairo_image_surface_get_width(a);
    const int h = cairo_image_surface_get_height(a);
    if (w != cairo_image_surface_get_width(b) || h != cairo_image_surface_get_height(b) || w == 0 || h == 0) return 1;
    cairo_surface_flush(a);
    cairo_surface_flush(b);
    long differing = 0;
    for (int y = 0; y < h; ++y) {
        const auto* ra = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(a) +
                                                                y * cairo_image_surface_get_stride(a));
        const auto* rb = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(b) +
                                                                y * cairo_image_surface_get_stride(b));
        for (int x = 0; x < w; ++x) {
            for (int shift = 0; shift < 24; shift += 8) {
                const int ca = static_cast<int>((ra[x] >> shift) & 0xFF);
                const int cb = static_cast<int>((rb[x] >> shift) & 0xFF);
                if (std::abs(ca - cb) > tolerance) {
                    ++differing;
                    break;
                }
            }
        }
    }
    return static_cast<double>(differing) / (static_cast<double>(w) * h);
}

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
    Surface rendered = LoadPng(out.Join("render.png"));
    Surface reference = LoadPng(std::string(AUTOMENU_SOURCE_DIR) + "/doc/" + c.reference);
    ASSERT_EQ(cairo_surface_status(reference.get()), CAIRO_STATUS_SUCCESS);
    // The hover look of one entry changes about 0.4 % of the pixels.
    EXPECT_LT(DifferingShare(rendered.get(), reference.get(), 40), 0.001);
}

INSTANTIATE_TEST_SUITE_P(Demo, DemoRender,
                         ::testing::Values(RenderCase{"after_start", 0, "demo-menu.png"},
                                           RenderCase{"entry_2_hovered", 2, "demo-menu-hover.png"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace automenu::tool
