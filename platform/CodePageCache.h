// Code pages built from the system's converters, once per process and shared
// by every thread that asks.
#pragma once

#include <memory>

#include "formats/CodePage.h"

namespace automenu::platform {

// The code page `number`, made by `build` on the first request. Windows-1252
// for 1252 itself, for a number CodePage does not know, and when `build`
// gives nothing (the system has no converter for it).
const CodePage& CachedCodePage(unsigned number, std::unique_ptr<CodePage> (*build)(unsigned number));

}  // namespace automenu::platform
