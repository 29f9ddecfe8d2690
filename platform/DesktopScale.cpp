#include "platform/DesktopScale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace automenu::platform {

double DesktopScale(const char* gdk_scale, std::optional<double> xft_dpi) {
    double scale = 1.0;
    if (gdk_scale && *gdk_scale) {
        char* end = nullptr;
        const long value = std::strtol(gdk_scale, &end, 10);
        if (*end == '\0' && value > 0) scale = static_cast<double>(std::min(value, 4L));
    } else if (xft_dpi && std::isfinite(*xft_dpi)) {
        scale = std::round(*xft_dpi / 96.0 * 4.0) / 4.0;
    }
    return std::clamp(scale, 1.0, 4.0);
}

std::optional<double> FindXftDpi(const char* resources) {
    if (!resources) return std::nullopt;
    // One resource a line: "Xft.dpi:\t192". A longer name that ends the same
    // way ("XXft.dpi") is another resource.
    for (const char* line = resources; *line;) {
        const char* end = std::strchr(line, '\n');
        const std::size_t length = end ? static_cast<std::size_t>(end - line) : std::strlen(line);
        static constexpr char kName[] = "Xft.dpi:";
        if (length > sizeof kName - 1 && std::strncmp(line, kName, sizeof kName - 1) == 0) {
            char* stop = nullptr;
            const double value = std::strtod(line + sizeof kName - 1, &stop);
            if (stop != line + sizeof kName - 1 && value > 0) return value;
        }
        if (!end) break;
        line = end + 1;
    }
    return std::nullopt;
}

int ScaledLength(int design, double scale) { return static_cast<int>(std::lround(design * scale)); }

}  // namespace automenu::platform
