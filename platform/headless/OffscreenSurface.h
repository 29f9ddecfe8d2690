// A window's pixels held in memory, for the in-memory desktop: drawn by the
// drawing library of the system the program runs on (cairo image surfaces
// on Linux, GDI DIB sections on Windows), so that what it draws is what that
// system's menu shows.
#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace automenu::platform {

class IOffscreenSurface {
public:
    virtual ~IOffscreenSurface() = default;
    // A canvas in design units for one paint; the surface takes the scale.
    virtual std::unique_ptr<ICanvas> Canvas() = 0;
    // The device pixels across and down.
    virtual TSize DeviceSize() const = 0;
    // The device pixel at (x, y), which must lie in the surface.
    virtual Rgb DevicePixel(int x, int y) const = 0;
    // Writes the pixels as a PNG file; false when it cannot.
    virtual bool SavePng(const std::string& path) const = 0;
};

// A surface for a window's inner area of `client` design units, drawn with
// `scale` device pixels a unit; at least 1 x 1.
std::unique_ptr<IOffscreenSurface> CreateOffscreenSurface(TSize client, double scale);

}  // namespace automenu::platform
