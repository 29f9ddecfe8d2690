// Active Accessibility for a window whose controls have no windows of their
// own: to WM_GETOBJECT for its client area the window answers with an
// IAccessible whose children are the items of its content
// (IAccessibleContent), and it raises the system's events when they change.
// Screen readers that speak UI Automation read it through the system's proxy.
//
// The libraries it needs (oleacc, oleaut32, ole32) are loaded at the first
// request: a menu nobody asks about loads none of them.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "platform/Accessibility.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

// COM for this thread while it lives: clients in other processes call the
// objects handed to them through it. Made at the first request, kept until
// the back end ends (which lets go of what clients still hold).
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_result;
};

class AccessibleClient;  // the IAccessible, in Win32Accessible.cpp

class AccessibleWindow {
public:
    // `activate` is called with an item's place when a client activates it.
    AccessibleWindow(HWND hwnd, const IAccessibleContent& content, std::function<void(std::size_t)> activate);
    // A client may hold the object longer than the window lives: from then
    // on the object answers that it is no longer connected.
    ~AccessibleWindow();
    AccessibleWindow(const AccessibleWindow&) = delete;
    AccessibleWindow& operator=(const AccessibleWindow&) = delete;

    // The answer to WM_GETOBJECT for OBJID_CLIENT; 0 when the system's
    // accessibility library is missing.
    LRESULT Answer(WPARAM wparam);
    // Raises the event of an item's change, while the window is shown (a
    // focus move only while the window has the keyboard focus).
    void Notify(AccessibleEvent event, std::size_t item) const;

    // What the object and the window share: cleared when the window goes.
    struct Link {
        HWND hwnd = nullptr;
        const IAccessibleContent* content = nullptr;
        std::function<void(std::size_t)> activate;
    };

private:
    std::shared_ptr<Link> m_link;
    ComPtr<AccessibleClient> m_object;  // one object for the window's life, made at the first request
};

}  // namespace automenu::platform
