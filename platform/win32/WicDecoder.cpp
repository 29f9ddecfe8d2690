#include "platform/win32/WicDecoder.h"

#include "platform/win32/ComPtr.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WindowsApi.h"

#include <wincodec.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace automenu::platform {

namespace {

// The COM and imaging functions, from their DLLs at the first PNG.
struct ImagingApi {
    SystemLibrary ole32{"ole32.dll"};
    SystemLibrary codecs{"windowscodecs.dll"};
    decltype(&::CoInitializeEx) initialize = ole32.Get<decltype(::CoInitializeEx)>("CoInitializeEx");
    decltype(&::CoUninitialize) uninitialize = ole32.Get<decltype(::CoUninitialize)>("CoUninitialize");
    decltype(&::CoCreateInstance) create = ole32.Get<decltype(::CoCreateInstance)>("CoCreateInstance");
    decltype(&::WICConvertBitmapSource) convert =
        codecs.Get<decltype(::WICConvertBitmapSource)>("WICConvertBitmapSource");
    // For the encoder only: where the PNG file is written.
    decltype(&::CreateStreamOnHGlobal) create_stream =
        ole32.Get<decltype(::CreateStreamOnHGlobal)>("CreateStreamOnHGlobal");
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

// The first frame of an image of the given container format, converted to
// premultiplied BGRA; null when Windows cannot read it.
class WicFrame {
public:
    WicFrame(const GUID& container, std::span<const std::uint8_t> bytes) : m_com(Imaging()) {
        const ImagingApi& api = Imaging();
        if (bytes.size() > std::numeric_limits<DWORD>::max() || !m_com.Usable()) return;
        if (FAILED(api.create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(m_factory.Out()))))
            return;
        if (FAILED(m_factory->CreateStream(m_stream.Out())) ||
            FAILED(m_stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))))
            return;
        if (FAILED(m_factory->CreateDecoder(container, nullptr, m_decoder.Out())) ||
            FAILED(m_decoder->Initialize(m_stream.Get(), WICDecodeMetadataCacheOnDemand)))
            return;
        if (FAILED(m_decoder->GetFrame(0, m_frame.Out()))) return;
        if (FAILED(api.convert(GUID_WICPixelFormat32bppPBGRA, m_frame.Get(), m_converted.Out()))) m_converted.Reset();
    }
    // The converted pixels, or null.
    IWICBitmapSource* Pixels() const { return m_converted.Get(); }
    // The frame's own pixel format, or GUID_NULL.
    GUID Format() const {
        WICPixelFormatGUID format = GUID_NULL;
        if (m_frame) m_frame->GetPixelFormat(&format);
        return format;
    }

private:
    ComScope m_com;
    ComPtr<IWICImagingFactory> m_factory;
    ComPtr<IWICStream> m_stream;
    ComPtr<IWICBitmapDecoder> m_decoder;
    ComPtr<IWICBitmapFrameDecode> m_frame;
    ComPtr<IWICBitmapSource> m_converted;
};

// Formats whose pixels all stay opaque.
bool Opaque(const GUID& format) {
    for (const GUID* opaque :
         {&GUID_WICPixelFormat24bppBGR, &GUID_WICPixelFormat8bppGray, &GUID_WICPixelFormat16bppGray,
          &GUID_WICPixelFormat48bppRGB, &GUID_WICPixelFormat32bppCMYK, &GUID_WICPixelFormatBlackWhite})
        if (IsEqualGUID(format, *opaque)) return true;
    return false;
}

// The frame's top-left part of at most `keep`, its size checked first.
bool CopyTopLeft(const WicFrame& frame, TSize keep, PixelImage& out) {
    IWICBitmapSource* pixels = frame.Pixels();
    UINT width = 0, height = 0;
    if (!pixels || FAILED(pixels->GetSize(&width, &height)) || width == 0 || height == 0 || width > 0x7FFF ||
        height > 0x7FFF)
        return false;
    out.width = static_cast<int>(std::min<UINT>(width, static_cast<UINT>(std::max(keep.cx, 1))));
    out.height = static_cast<int>(std::min<UINT>(height, static_cast<UINT>(std::max(keep.cy, 1))));
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    const WICRect rect{0, 0, out.width, out.height};
    return SUCCEEDED(pixels->CopyPixels(&rect, static_cast<UINT>(out.width) * 4,
                                        static_cast<UINT>(out.pixels.size() * 4),
                                        reinterpret_cast<BYTE*>(out.pixels.data())));
}

}  // namespace

bool DecodePngWithWic(std::span<const std::uint8_t> png, PixelImage& out) {
    if (!Imaging().Complete()) return false;
    PixelImage img;
    if (!CopyTopLeft(WicFrame(GUID_ContainerFormatPng, png), {0x7FFF, 0x7FFF}, img)) return false;
    img.has_alpha = true;
    out = std::move(img);
    return true;
}

bool DecodePictureWithWic(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                          PixelImage& out) {
    if (!Imaging().Complete()) return false;
    // A PNG without the chunks that make no pixel: the imaging component
    // would read all its text and profiles.
    const std::vector<std::uint8_t> png =
        format == CompressedImageFormat::Png ? PngPixelChunks(file) : std::vector<std::uint8_t>();
    const WicFrame frame(format == CompressedImageFormat::Png ? GUID_ContainerFormatPng : GUID_ContainerFormatJpeg,
                         format == CompressedImageFormat::Png ? std::span<const std::uint8_t>(png) : file);
    // Only the part kept is asked for: the file was found whole before
    // (ReadCompressedImageSize).
    PixelImage img;
    if (!CopyTopLeft(frame, visible, img)) return false;
    img.has_alpha = !Opaque(frame.Format()) &&
                    std::any_of(img.pixels.begin(), img.pixels.end(), [](std::uint32_t p) { return p < 0xFF000000u; });
    out = std::move(img);
    return true;
}

std::vector<std::uint8_t> EncodePngWithWic(const PixelImage& image) {
    const ImagingApi& api = Imaging();
    if (!api.Complete() || !api.create_stream || image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        return {};
    const ComScope com(api);
    ComPtr<IWICImagingFactory> factory;
    if (!com.Usable() || FAILED(api.create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()))))
        return {};
    // Straight (not premultiplied) BGRA words, as PixelImage holds an opaque
    // image; a transparent one is un-premultiplied first.
    std::vector<std::uint32_t> words(image.pixels);
    if (image.has_alpha) {
        for (std::uint32_t& p : words) {
            const std::uint32_t a = p >> 24;
            if (a == 0 || a == 255) continue;
            auto channel = [&](int shift) { return std::min<std::uint32_t>(((p >> shift) & 0xFF) * 255 / a, 255); };
            p = a << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
        }
    }
    ComPtr<IWICBitmap> bitmap;
    const UINT stride = static_cast<UINT>(image.width) * 4;
    if (FAILED(factory->CreateBitmapFromMemory(
            static_cast<UINT>(image.width), static_cast<UINT>(image.height), GUID_WICPixelFormat32bppBGRA, stride,
            static_cast<UINT>(words.size() * 4), reinterpret_cast<BYTE*>(words.data()), bitmap.Out())))
        return {};
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(api.create_stream(nullptr, TRUE, stream.Out())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.Out(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height))))
        return {};
    WICPixelFormatGUID format = image.has_alpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format))) return {};
    // The encoder converts to the format it settled on.
    if (FAILED(frame->WriteSource(bitmap.Get(), nullptr)) || FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return {};
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > 0x7FFFFFFF) return {};
    std::vector<std::uint8_t> png(static_cast<std::size_t>(stat.cbSize.QuadPart));
    const LARGE_INTEGER start{};
    ULONG read = 0;
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        FAILED(stream->Read(png.data(), static_cast<ULONG>(png.size()), &read)) || read != png.size())
        return {};
    return png;
}

}  // namespace automenu::platform
