#include "ui/TGraphic.h"

#include <algorithm>
#include <new>

#include "base/Exceptions.h"
#include "formats/DibDecoder.h"
#include "platform/PlatformAccess.h"

namespace automenu {

TSize VisiblePictureSize() {
    const TSize screen = HasPlatform() ? Platform().ScreenSize() : TSize{3840, 2160};
    return {std::clamp(screen.cx, 1, kMaxImageSide), std::clamp(screen.cy, 1, kMaxImageSide)};
}

void TGraphic::LoadFromFile(const std::string& file_name) {
    // The platform reads the whole file and closes it before returning, so
    // the file is closed on every path below.
    platform::FileReadResult file;
    try {
        file = Platform().Files().ReadFile(file_name, kMaxPictureFileBytes);
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    switch (file.status) {
    case platform::FileReadStatus::Ok:
        break;
    case platform::FileReadStatus::CannotOpen:
        throw EFOpenError("Cannot open file " + file_name);
    case platform::FileReadStatus::TooLarge:
        throw EOutOfResources("Out of system resources");
    }
    LoadFromBytes(file.bytes);
}

void TGraphic::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    try {
        ReadData(bytes);
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
}

void TGraphic::ThrowOutOfMemory() const { throw std::bad_alloc(); }

void TGraphic::Changed() {
    if (m_on_change) m_on_change();
}

}  // namespace automenu
