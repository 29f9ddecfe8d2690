#include "platform/SystemColors.h"

#include <array>
#include <utility>

namespace automenu::platform {

namespace {

// What GetSysColor answers on Windows 10 and 11 in the default theme, for
// every system colour the framework draws with.
constexpr std::array<std::pair<int, Rgb>, 11> kDefaultColors{{
    {COLOR_WINDOW, {255, 255, 255}},
    {COLOR_WINDOWFRAME, {100, 100, 100}},
    {COLOR_WINDOWTEXT, {0, 0, 0}},
    {COLOR_BTNFACE, {240, 240, 240}},
    {COLOR_BTNSHADOW, {160, 160, 160}},
    {COLOR_BTNTEXT, {0, 0, 0}},
    {COLOR_BTNHIGHLIGHT, {255, 255, 255}},
    {COLOR_3DDKSHADOW, {105, 105, 105}},
    {COLOR_3DLIGHT, {227, 227, 227}},
    {COLOR_INFOTEXT, {0, 0, 0}},
    {COLOR_INFOBK, {255, 255, 225}},
}};

}  // namespace

Rgb DefaultSystemColor(int index) {
    for (const auto& [known, color] : kDefaultColors)
        if (known == index) return color;
    return {0, 0, 0};
}

}  // namespace automenu::platform
