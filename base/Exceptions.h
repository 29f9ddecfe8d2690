// The framework's exception classes. Failures carry a message text; the
// application's error display shows it (see TApplication::ShowException).
#pragma once

#include <stdexcept>
#include <string>

namespace automenu {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : m_message(std::move(message)) {}
    const std::string& Message() const { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};

#define AUTOMENU_EXCEPTION_CLASS(name, base) \
    class name : public base {                \
    public:                                   \
        using base::base;                     \
    }

// Silent exception: the loop drops it without a message.
AUTOMENU_EXCEPTION_CLASS(EAbort, Exception);
AUTOMENU_EXCEPTION_CLASS(EConvertError, Exception);
AUTOMENU_EXCEPTION_CLASS(EStreamError, Exception);
AUTOMENU_EXCEPTION_CLASS(EFOpenError, EStreamError);
AUTOMENU_EXCEPTION_CLASS(EReadError, EStreamError);
AUTOMENU_EXCEPTION_CLASS(EInvalidGraphic, Exception);
AUTOMENU_EXCEPTION_CLASS(EOSError, Exception);
AUTOMENU_EXCEPTION_CLASS(EOutOfResources, Exception);
// What running out of memory anywhere becomes, so it is shown like any other
// error instead of ending the program.
AUTOMENU_EXCEPTION_CLASS(EOutOfMemory, Exception);

#undef AUTOMENU_EXCEPTION_CLASS

// The error a std::bad_alloc becomes.
inline EOutOfMemory OutOfMemoryError() { return EOutOfMemory("Out of memory"); }

}  // namespace automenu
