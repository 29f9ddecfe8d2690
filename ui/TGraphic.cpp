#include "ui/TGraphic.h"

#include "ui/Exceptions.h"
#include "ui/PlatformAccess.h"

namespace automenu {

void TGraphic::LoadFromFile(const std::string& file_name) {
    // The platform reads the whole file and closes it before returning, so
    // the file is closed on every path below.
    platform::FileReadResult file = Platform().ReadFile(file_name, kMaxPictureFileBytes);
    switch (file.status) {
    case platform::FileReadStatus::Ok:
        break;
    case platform::FileReadStatus::CannotOpen:
        throw EFOpenError("Cannot open file " + file_name);
    case platform::FileReadStatus::TooLarge:
        throw EOutOfResources("Out of system resources");
    }
    ReadData(file.bytes);
}

void TGraphic::LoadFromBytes(std::span<const std::uint8_t> bytes) { ReadData(bytes); }

void TGraphic::Changed() {
    if (m_onChange) m_onChange();
}

}  // namespace automenu
