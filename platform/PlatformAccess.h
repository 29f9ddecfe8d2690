// The platform back end the framework runs on. The program entry (or a test)
// installs one before creating any window; the framework reaches it here.
#pragma once

#include "platform/Platform.h"

namespace automenu {

platform::IPlatform& Platform();
void SetPlatform(platform::IPlatform* platform);
bool HasPlatform();

// Installs a back end for the lifetime of this object, then the one before.
class ScopedPlatform {
public:
    explicit ScopedPlatform(platform::IPlatform& platform);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    platform::IPlatform* m_previous;
};

// The RGB value of a colour: a system colour is asked of the platform.
Rgb ResolveColor(TColor color);

}  // namespace automenu
