// One pass over AUTORUN.INF: the path buffer and the reader, created at the
// start of the pass and released at its end, also when the pass ends early by
// an exception.
#pragma once

#include <string>
#include <string_view>

#include "config/ConfigurationPaths.h"
#include "config/KeySchema.h"
#include "config/TIniFile.h"
#include "ui/TLabel.h"
#include "config/ValueRules.h"

namespace automenu {

class SettingsPass {
public:
    SettingsPass() : m_reader(ConfigurationFilePath(m_path_buffer)) {}

    std::string LookUp(std::string_view section, std::string_view key) { return m_reader.LookUpSetting(section, key); }
    std::int32_t LookUpInteger(std::string_view section, std::string_view key) {
        return SettingToInteger(LookUp(section, key));
    }
    std::string LookUp(KeyId id, int number = 0) {
        const SchemaKey& k = KeyOf(id, number);
        return LookUp(k.section, k.key);
    }
    std::int32_t LookUpInteger(KeyId id, int number = 0) { return SettingToInteger(LookUp(id, number)); }
    TIniFile& Reader() { return m_reader; }
    std::string& PathBuffer() { return m_path_buffer; }

private:
    std::string m_path_buffer;  // declared first: the reader is created from it
    TIniFile m_reader;
};

// The keys that place and style one label, taken from the key table once:
// mouse moves use them many times a second.
struct LabelKeys {
    LabelKeys(const LabelRows& rows, int number);

    std::string section;
    std::string caption;
    std::string top;
    std::string left;
    // One font's keys.
    std::string name, colour, bold, italic, underline, size;
};

// Shows the label, then sets its caption, top, left, and the six appearance
// settings (name, colour, bold, italic, underline, size), in that order.
void ConfigureLabel(SettingsPass& pass, TLabel& label, const LabelKeys& keys, StyleSwitchForm form);

enum class Look { Normal, Hover };  // the "First Font" and "Second Font" keys

const LabelKeys& EntryKeys(int n, Look look);
const LabelKeys& ExitKeys(Look look);
const LabelKeys& TextLineKeys(int n);
const LabelKeys& TitleKeys();

// Entry n's launch-target key, for the checks that name it.
const std::string& EntryFilePathKey(int n);

// The picture named by a directory key and a file-name key. Names written on
// Windows work on Linux: backslashes separate, and a path that does not exist
// as written is looked up ignoring case.
std::string MediaPath(const std::string& path);

}  // namespace automenu
