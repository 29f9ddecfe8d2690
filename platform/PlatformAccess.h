// The platform back end the framework runs on. The program entry (or a test)
// installs one before creating any window; the framework reaches it here.
#pragma once

#include "platform/Platform.h"

namespace automenu {

platform::IPlatform& Platform();
void SetPlatform(platform::IPlatform* platform);
bool HasPlatform();

// The RGB value of a colour: a system colour is asked of the platform.
Rgb ResolveColor(TColor color);

}  // namespace automenu
