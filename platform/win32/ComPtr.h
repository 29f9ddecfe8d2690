// A reference to a COM object, released when it goes: the one way the Win32
// back end holds COM objects, its own included.
#pragma once

#include <utility>

namespace automenu::platform {

template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller holds (a new object's first one).
    static ComPtr Adopt(Interface* p) {
        ComPtr r;
        r.m_p = p;
        return r;
    }
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }
    Interface* operator->() const { return m_p; }
    Interface* Get() const { return m_p; }
    // For a call that hands out a reference: whatever was held is released first.
    Interface** Out() {
        Reset();
        return &m_p;
    }
    void Reset() {
        if (m_p) m_p->Release();
        m_p = nullptr;
    }
    explicit operator bool() const { return m_p != nullptr; }

private:
    Interface* m_p = nullptr;
};

}  // namespace automenu::platform
