#include "platform/win32/WicPng.h"

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WindowsApi.h"

#include <wincodec.h>

#include <limits>

namespace automenu::platform {

namespace {

// A COM interface pointer, released when it goes.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (m_p) m_p->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* operator->() const { return m_p; }
    Interface* Get() const { return m_p; }
    Interface** Out() { return &m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    Interface* m_p = nullptr;
};

// The COM and imaging functions, from their DLLs at the first PNG.
struct ImagingApi {
    SystemLibrary ole32{"ole32.dll"};
    SystemLibrary codecs{"windowscodecs.dll"};
    decltype(&::CoInitializeEx) initialize =
        ole32.Get<std::remove_pointer_t<decltype(&::CoInitializeEx)>>("CoInitializeEx");
    decltype(&::CoUninitialize) uninitialize =
        ole32.Get<std::remove_pointer_t<decltype(&::CoUninitialize)>>("CoUninitialize");
    decltype(&::CoCreateInstance) create =
        ole32.Get<std::remove_pointer_t<decltype(&::CoCreateInstance)>>("CoCreateInstance");
    decltype(&::WICConvertBitmapSource) convert =
        codecs.Get<std::remove_pointer_t<decltype(&::WICConvertBitmapSource)>>("WICConvertBitmapSource");
    bool Complete() const { return initialize && uninitialize && create && convert; }
};

const ImagingApi& Imaging() {
    static const ImagingApi api;
    return api;
}

// COM for this thread, for as long as a decoding takes.
class ComScope {
public:
    explicit ComScope(const ImagingApi& api)
        : m_api(api), m_result(api.initialize(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_result)) m_api.uninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    // S_FALSE (already initialised) and a different model both leave COM usable.
    bool Usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    const ImagingApi& m_api;
    HRESULT m_result;
};

}  // namespace

bool DecodePngWithWic(std::span<const std::uint8_t> png, PixelImage& out) {
    if (png.size() > std::numeric_limits<DWORD>::max()) return false;
    const ImagingApi& api = Imaging();
    if (!api.Complete()) return false;
    ComScope com(api);
    if (!com.Usable()) return false;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(api.create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(factory.Out()))))
        return false;
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(png.data()), static_cast<DWORD>(png.size()))))
        return false;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.Out())) ||
        FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)))
        return false;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.Out()))) return false;
    ComPtr<IWICBitmapSource> converted;
    if (FAILED(api.convert(GUID_WICPixelFormat32bppPBGRA, frame.Get(), converted.Out()))) return false;
    UINT width = 0, height = 0;
    if (FAILED(converted->GetSize(&width, &height)) || width == 0 || height == 0 || width > 0x7FFF || height > 0x7FFF)
        return false;
    PixelImage img;
    img.width = static_cast<int>(width);
    img.height = static_cast<int>(height);
    img.pixels.resize(static_cast<std::size_t>(width) * height);
    img.has_alpha = true;
    if (FAILED(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(img.pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(img.pixels.data()))))
        return false;
    out = std::move(img);
    return true;
}

}  // namespace automenu::platform
