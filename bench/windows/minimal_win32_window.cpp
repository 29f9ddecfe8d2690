// The yardstick of the Windows start-up benchmark: a bare window of the
// menu's design size, captioned and framed like it, that fills its client
// area once and ends when that first frame is out.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        ::FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        ::EndPaint(hwnd, &ps);
        ::GdiFlush();
        ::ExitProcess(0);
    }
    return ::DefWindowProcA(hwnd, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "MinimalWindow";
    ::RegisterClassA(&wc);
    RECT r{0, 0, 585, 419};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    ::AdjustWindowRectEx(&r, style, FALSE, WS_EX_DLGMODALFRAME);
    HWND hwnd =
        ::CreateWindowExA(WS_EX_DLGMODALFRAME, "MinimalWindow", "Installation", style, CW_USEDEFAULT, CW_USEDEFAULT,
                          r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    return 0;
}
