// The desktop's settings as X11 desktops publish them (the XSETTINGS
// property that GNOME, Xfce, KDE and xsettingsd keep on their manager's
// window). Only the reading of its bytes is here; fetching them is the X
// back end's.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace automenu {

// The integer setting of that name (such as "Net/DoubleClickTime"), or
// nothing when the data is damaged or does not hold it as an integer.
std::optional<std::int32_t> FindXSettingsInteger(std::span<const std::uint8_t> data, std::string_view name);

}  // namespace automenu
