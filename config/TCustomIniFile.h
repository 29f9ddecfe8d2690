// The reader of AUTORUN.INF for one pass, and its one operation, LookUpSetting.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace automenu {

// Every lookup in the program passes this default text.
inline constexpr std::string_view kLookUpDefault = "0";

// Called with the section and key of every lookup, before it is answered.
using LookUpObserver = std::function<void(std::string_view section, std::string_view key)>;

// Installs a process-wide observer of lookups for the lifetime of this
// object, then restores the one that was there before.
class ScopedLookUpObserver {
public:
    explicit ScopedLookUpObserver(LookUpObserver observer);
    ~ScopedLookUpObserver();
    ScopedLookUpObserver(const ScopedLookUpObserver&) = delete;
    ScopedLookUpObserver& operator=(const ScopedLookUpObserver&) = delete;

private:
    LookUpObserver m_previous;
};

class TCustomIniFile {
public:
    // Keeps the path; opens and checks nothing.
    explicit TCustomIniFile(std::string file_name) : m_file_name(std::move(file_name)) {}
    virtual ~TCustomIniFile() = default;
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    const std::string& FileName() const { return m_file_name; }

    // The value of the key in the section, or `default_text` when the file,
    // the section or the key is missing.
    virtual std::string ReadString(std::string_view section, std::string_view key, std::string_view default_text) = 0;

    // ReadString with the program's default text, reported to the observer.
    std::string LookUpSetting(std::string_view section, std::string_view key,
                              std::string_view default_text = kLookUpDefault);

private:
    std::string m_file_name;
};

}  // namespace automenu
