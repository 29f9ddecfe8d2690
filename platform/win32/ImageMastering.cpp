#include "platform/win32/ImageMastering.h"

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WindowsApi.h"

#include <objbase.h>

namespace automenu::platform {

namespace {

// Its class, looked up by name: present only where the API is installed.
std::optional<CLSID> FileSystemImageClass() {
    const SystemLibrary ole32("ole32.dll");
    const auto initialize = ole32.Get<std::remove_pointer_t<decltype(&::CoInitializeEx)>>("CoInitializeEx");
    const auto uninitialize = ole32.Get<std::remove_pointer_t<decltype(&::CoUninitialize)>>("CoUninitialize");
    const auto from_name = ole32.Get<std::remove_pointer_t<decltype(&::CLSIDFromProgID)>>("CLSIDFromProgID");
    if (!initialize || !uninitialize || !from_name) return std::nullopt;
    const HRESULT com = initialize(nullptr, COINIT_APARTMENTTHREADED);
    CLSID id{};
    const bool found = SUCCEEDED(from_name(L"IMAPI2FS.MsftFileSystemImage", &id));
    if (SUCCEEDED(com)) uninitialize();
    return found ? std::optional<CLSID>(id) : std::nullopt;
}

}  // namespace

bool HasImageMastering() { return FileSystemImageClass().has_value(); }

std::optional<std::string> MasterIsoImage(const std::filesystem::path&, const std::filesystem::path&,
                                          const std::string&, const std::function<bool()>&) {
    if (!HasImageMastering())
        return "this Windows has no image mastering API (IMAPI2FS), which writes the image; pack the folder "
               "without --iso and write the image with another program, or on Linux";
    // The API's interfaces are not in the cross compiler's headers yet.
    return "writing the image through the image mastering API (IMAPI2FS) is not built into this tool yet; pack the "
           "folder without --iso and write the image with another program, or on Linux";
}

}  // namespace automenu::platform
