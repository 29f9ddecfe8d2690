#include "platform/PlatformAccess.h"

#include <cassert>

namespace automenu {

namespace {
platform::IPlatform* g_platform = nullptr;
}

platform::IPlatform& Platform() {
    assert(g_platform && "no platform installed");
    return *g_platform;
}

void SetPlatform(platform::IPlatform* platform) { g_platform = platform; }

bool HasPlatform() { return g_platform != nullptr; }

ScopedPlatform::ScopedPlatform(platform::IPlatform& platform) : m_previous(g_platform) { g_platform = &platform; }

ScopedPlatform::~ScopedPlatform() { g_platform = m_previous; }

Rgb ResolveColor(TColor color) {
    return IsSystemColor(color) ? Platform().SysColor(static_cast<int>(color & 0xFF)) : RgbFromColorRef(color);
}

}  // namespace automenu
