#include "platform/win32/Win32Shell.h"

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

#include <objbase.h>
#include <shellapi.h>

namespace automenu::platform {

namespace {

// The shell and COM, from their DLLs at the first click.
struct ShellApi {
    SystemLibrary shell32{"shell32.dll"};
    SystemLibrary ole32{"ole32.dll"};
    decltype(&::ShellExecuteExW) execute = shell32.Get<decltype(::ShellExecuteExW)>("ShellExecuteExW");
    decltype(&::CoInitializeEx) initialize = ole32.Get<decltype(::CoInitializeEx)>("CoInitializeEx");
    decltype(&::CoUninitialize) uninitialize = ole32.Get<decltype(::CoUninitialize)>("CoUninitialize");
};

const ShellApi& Shell() {
    static const ShellApi api;
    return api;
}

// COM for this thread while the shell runs: its extensions may need it.
class ComScope {
public:
    explicit ComScope(const ShellApi& api) : m_api(api) {
        if (api.initialize && api.uninitialize)
            m_result = api.initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    }
    ~ComScope() {
        if (SUCCEEDED(m_result)) m_api.uninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    const ShellApi& m_api;
    HRESULT m_result = E_FAIL;
};

}  // namespace

std::optional<OpenFailure> OpenFailureOfShellError(unsigned long last_error, long long instance_code) {
    switch (last_error) {
        case ERROR_SUCCESS:
            break;
        case ERROR_CANCELLED:
            return std::nullopt;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_NAME:
            return OpenFailure::NoSuchFile;
        case ERROR_ACCESS_DENIED:
            return OpenFailure::AccessDenied;
        case ERROR_NO_ASSOCIATION:
            return OpenFailure::NoApplication;
        case ERROR_BAD_FORMAT:
        case ERROR_BAD_EXE_FORMAT:
        case ERROR_EXE_MACHINE_TYPE_MISMATCH:
            return OpenFailure::NotAProgram;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return OpenFailure::OutOfResources;
        case ERROR_DDE_FAIL:
        case ERROR_DLL_NOT_FOUND:
            return OpenFailure::OpenerFailed;
        default:
            return OpenFailure::Other;
    }
    // No last error: the older report, an SE_ERR_ value.
    switch (instance_code) {
        case SE_ERR_FNF:
        case SE_ERR_PNF:
            return OpenFailure::NoSuchFile;
        case SE_ERR_ACCESSDENIED:
            return OpenFailure::AccessDenied;
        case 0:
        case SE_ERR_OOM:
            return OpenFailure::OutOfResources;
        case SE_ERR_NOASSOC:
        case SE_ERR_ASSOCINCOMPLETE:
            return OpenFailure::NoApplication;
        case ERROR_BAD_FORMAT:
            return OpenFailure::NotAProgram;
        case SE_ERR_DDETIMEOUT:
        case SE_ERR_DDEFAIL:
        case SE_ERR_DDEBUSY:
        case SE_ERR_DLLNOTFOUND:
            return OpenFailure::OpenerFailed;
        default:
            return OpenFailure::Other;
    }
}

std::optional<OpenFailureReport> Win32ShellOpen(const std::string& target) {
    const ShellApi& api = Shell();
    if (!api.execute) return OpenFailureReport{target, OpenFailure::Other, ERROR_PROC_NOT_FOUND};
    ComScope com(api);
    const std::wstring file = Wide(target);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = nullptr;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();  // an empty target is an empty text, never null
    info.lpParameters = nullptr;
    info.lpDirectory = nullptr;
    info.nShow = SW_SHOW;
    ::SetLastError(ERROR_SUCCESS);
    if (api.execute(&info)) return std::nullopt;
    const DWORD error = ::GetLastError();
    const auto code = reinterpret_cast<INT_PTR>(info.hInstApp);
    const std::optional<OpenFailure> reason = OpenFailureOfShellError(error, code);
    if (!reason) return std::nullopt;
    return OpenFailureReport{target, *reason,
                             error != ERROR_SUCCESS ? static_cast<long>(error) : static_cast<long>(code)};
}

}  // namespace automenu::platform
