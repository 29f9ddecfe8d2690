#include "platform/win32/ImageMastering.h"

#include <array>
#include <span>
#include <vector>

#include "platform/MediumFiles.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

#include <objbase.h>
#include <oleauto.h>

namespace automenu::platform {

namespace {

// The file systems of the image (FsiFileSystems): ISO 9660 and Joliet. The
// API writes no Rock Ridge.
constexpr long kIso9660AndJoliet = 1 | 2;
constexpr std::size_t kChunk = 1 << 20;

class ComScope {
public:
    ComScope() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_result)) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_result;
};

class Variant {
public:
    Variant() { ::VariantInit(&m_value); }
    ~Variant() { ::VariantClear(&m_value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    static void Text(VARIANT& v, const std::wstring& text) {
        v.vt = VT_BSTR;
        v.bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    VARIANT& Get() { return m_value; }

private:
    VARIANT m_value;
};

// The class, looked up by its name: there only where the API is installed.
std::optional<CLSID> FileSystemImageClass() {
    CLSID id{};
    if (FAILED(::CLSIDFromProgID(L"IMAPI2FS.MsftFileSystemImage", &id))) return std::nullopt;
    return id;
}

// Calls `name` of `object` through its dispatch interface, as a script does:
// the API's interfaces are dual, so no header of them is needed. `arguments`
// go last first, as Invoke takes them. The problem, or "".
std::string Call(IDispatch* object, const wchar_t* name, WORD kind, std::span<VARIANT> arguments,
                 VARIANT* result = nullptr) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        return "the image mastering API has no " + Utf8(name);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    if (kind == DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &put;
        parameters.cNamedArgs = 1;
    }
    EXCEPINFO failure{};
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result, &failure, nullptr);
    std::string why;
    if (failure.bstrDescription) why = Utf8(std::wstring_view(failure.bstrDescription, ::SysStringLen(failure.bstrDescription)));
    ::SysFreeString(failure.bstrDescription);
    ::SysFreeString(failure.bstrSource);
    ::SysFreeString(failure.bstrHelpFile);
    if (SUCCEEDED(hr)) return {};
    if (why.empty()) why = std::system_category().message(static_cast<int>(hr));
    return Utf8(name) + " failed: " + why;
}

// The dispatch interface a call gave back, or null.
ComPtr<IDispatch> DispatchOf(VARIANT& value) {
    if (value.vt != VT_DISPATCH || !value.pdispVal) return {};
    value.pdispVal->AddRef();
    return ComPtr<IDispatch>::Adopt(value.pdispVal);
}

}  // namespace

bool HasImageMastering() {
    const ComScope com;
    return com.Usable() && FileSystemImageClass().has_value();
}

std::optional<std::string> MasterIsoImage(const std::filesystem::path& folder, const std::filesystem::path& image,
                                          const std::string& label, const std::function<bool()>& stop) {
    const ComScope com;
    const std::optional<CLSID> image_class = com.Usable() ? FileSystemImageClass() : std::nullopt;
    ComPtr<IDispatch> system_image;
    if (!image_class || FAILED(::CoCreateInstance(*image_class, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                                  reinterpret_cast<void**>(system_image.Out()))))
        return std::string("this Windows has no image mastering API (IMAPI2FS), which writes the image; pack the "
                           "folder without --iso and write the image with another program, or on Linux");
    std::array<VARIANT, 2> arguments{};
    arguments[0].vt = VT_I4;
    arguments[0].lVal = kIso9660AndJoliet;
    if (std::string problem = Call(system_image.Get(), L"FileSystemsToCreate", DISPATCH_PROPERTYPUT,
                                   std::span(arguments).first(1));
        !problem.empty())
        return problem;
    // No limit: the default is a 650 MB disc.
    arguments[0].lVal = 0;
    if (std::string problem = Call(system_image.Get(), L"FreeMediaBlocks", DISPATCH_PROPERTYPUT,
                                   std::span(arguments).first(1));
        !problem.empty())
        return problem;
    {
        Variant name;
        Variant::Text(name.Get(), Wide(label));
        if (std::string problem =
                Call(system_image.Get(), L"VolumeName", DISPATCH_PROPERTYPUT, std::span(&name.Get(), 1));
            !problem.empty())
            return problem;
    }
    Variant root_value;
    if (std::string problem = Call(system_image.Get(), L"Root", DISPATCH_PROPERTYGET, {}, &root_value.Get());
        !problem.empty())
        return problem;
    const ComPtr<IDispatch> root = DispatchOf(root_value.Get());
    if (!root) return std::string("the image mastering API gave no root folder");
    {
        // AddTree(folder, include the folder itself = false), last first.
        std::array<Variant, 2> tree;
        tree[0].Get().vt = VT_BOOL;
        tree[0].Get().boolVal = VARIANT_FALSE;
        Variant::Text(tree[1].Get(), folder.wstring());
        std::array<VARIANT, 2> pair{tree[0].Get(), tree[1].Get()};
        if (std::string problem = Call(root.Get(), L"AddTree", DISPATCH_METHOD, pair); !problem.empty())
            return problem;
    }
    if (stop && stop()) return std::string("stopped before the image was written");
    Variant result_value;
    if (std::string problem =
            Call(system_image.Get(), L"CreateResultImage", DISPATCH_METHOD, {}, &result_value.Get());
        !problem.empty())
        return problem;
    const ComPtr<IDispatch> result = DispatchOf(result_value.Get());
    Variant stream_value;
    if (!result) return std::string("the image mastering API gave no image");
    if (std::string problem = Call(result.Get(), L"ImageStream", DISPATCH_PROPERTYGET, {}, &stream_value.Get());
        !problem.empty())
        return problem;
    ComPtr<IStream> stream;
    IUnknown* unknown = stream_value.Get().vt == VT_UNKNOWN   ? stream_value.Get().punkVal
                        : stream_value.Get().vt == VT_DISPATCH ? stream_value.Get().pdispVal
                                                               : nullptr;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IStream, reinterpret_cast<void**>(stream.Out()))))
        return std::string("the image mastering API gave no stream of the image");

    NewFile out(image);
    if (!out.IsOpen()) return "cannot be written: " + out.Error();
    std::vector<char> buffer(kChunk);
    for (;;) {
        if (stop && stop()) return std::string("stopped before the image was written whole");
        ULONG read = 0;
        const HRESULT hr = stream->Read(buffer.data(), static_cast<ULONG>(buffer.size()), &read);
        if (FAILED(hr)) return "cannot be made: " + std::system_category().message(static_cast<int>(hr));
        if (read == 0) break;
        if (!out.Write({buffer.data(), read})) return "cannot be written: " + out.Error();
    }
    if (!out.Finish(0644)) return "cannot be written: " + out.Error();
    return std::nullopt;
}

}  // namespace automenu::platform
