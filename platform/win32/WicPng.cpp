#include "platform/win32/WicPng.h"

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

// COM for this thread, for as long as a decoding takes.
class ComScope {
public:
    ComScope() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_result)) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    // S_FALSE (already initialised) and a different model both leave COM usable.
    bool Usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_result;
};

}  // namespace

bool DecodePngWithWic(std::span<const std::uint8_t> png, PixelImage& out) {
    if (png.size() > std::numeric_limits<DWORD>::max()) return false;
    ComScope com;
    if (!com.Usable()) return false;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
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
    if (FAILED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.Get(), converted.Out()))) return false;
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
