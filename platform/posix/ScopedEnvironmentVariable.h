// Sets an environment variable for the lifetime of the object, then puts the
// previous state (a value, or no variable) back.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace automenu::platform {

class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_previous = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironmentVariable() {
        if (m_previous) ::setenv(m_name, m_previous->c_str(), 1);
        else ::unsetenv(m_name);
    }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_previous;
};

}  // namespace automenu::platform
