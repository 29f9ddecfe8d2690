// A complete AUTORUN.INF for tests and benchmarks: the realistic file of
// bench/data (all 240 keys, about 12 KB) with both counts raised to 8, so
// every switch is on and every count lets all eight labels through. Keys can
// be changed or removed one by one before the text is written.
#pragma once

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/KeySchema.h"

namespace automenu::testing {

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteWholeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

class AutorunText {
public:
    // Sections and "key=value" lines; comments and blank lines are dropped.
    static AutorunText Parse(std::string_view text) {
        AutorunText result;
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line.empty() || line.front() == ';') continue;
            if (line.front() == '[' && line.back() == ']') {
                result.m_sections.push_back({std::string(line.substr(1, line.size() - 2)), {}});
            } else if (const std::size_t eq = line.find('=');
                       eq != std::string_view::npos && !result.m_sections.empty()) {
                result.m_sections.back().keys.emplace_back(std::string(line.substr(0, eq)),
                                                           std::string(line.substr(eq + 1)));
            }
        }
        return result;
    }

    static std::string FullFilePath() { return AUTOMENU_SOURCE_DIR "/bench/data/full-AUTORUN.INF"; }

    static AutorunText Full() {
        AutorunText text = Parse(ReadWholeFile(FullFilePath()));
        text.Set(KeyId::TextLineCount, "8");
        text.Set(KeyId::EntryCount, "8");
        return text;
    }

    // Replaces the key's value, or adds the key (and its section) at the end.
    AutorunText& Set(std::string_view section, std::string_view key, std::string value) {
        Section& s = FindOrAdd(section);
        for (auto& [k, v] : s.keys)
            if (k == key) {
                v = std::move(value);
                return *this;
            }
        s.keys.emplace_back(std::string(key), std::move(value));
        return *this;
    }

    // The same by the key table's row, with the number of a numbered row.
    AutorunText& Set(KeyId id, std::string value) { return Set(id, 0, std::move(value)); }
    AutorunText& Set(KeyId id, int number, std::string value) {
        const SchemaKey& k = KeyOf(id, number);
        return Set(k.section, k.key, std::move(value));
    }
    AutorunText& Remove(KeyId id, int number = 0) {
        const SchemaKey& k = KeyOf(id, number);
        return Remove(k.section, k.key);
    }

    AutorunText& Remove(std::string_view section, std::string_view key) {
        for (auto& s : m_sections)
            if (s.name == section) std::erase_if(s.keys, [&](const auto& kv) { return kv.first == key; });
        return *this;
    }

    // The value as written, or "" when the key is absent.
    std::string Get(std::string_view section, std::string_view key) const {
        for (const auto& s : m_sections)
            if (s.name == section)
                for (const auto& [k, v] : s.keys)
                    if (k == key) return v;
        return {};
    }

    std::string Get(KeyId id, int number = 0) const {
        const SchemaKey& k = KeyOf(id, number);
        return Get(k.section, k.key);
    }

    std::size_t KeyCount() const {
        std::size_t n = 0;
        for (const auto& s : m_sections) n += s.keys.size();
        return n;
    }

    // Written the way a Windows editor leaves it: CRLF line ends.
    std::string Text() const {
        std::string out;
        for (const auto& s : m_sections) {
            out += "[" + s.name + "]\r\n";
            for (const auto& [k, v] : s.keys) out += k + "=" + v + "\r\n";
            out += "\r\n";
        }
        return out;
    }

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    Section& FindOrAdd(std::string_view name) {
        for (auto& s : m_sections)
            if (s.name == name) return s;
        return m_sections.emplace_back(Section{std::string(name), {}});
    }

    std::vector<Section> m_sections;
};

// The bytes of a picture fixture of tests/data/pictures.
inline std::string PictureFixture(const std::string& name) {
    return ReadWholeFile(AUTOMENU_SOURCE_DIR "/tests/data/pictures/" + name);
}

// Writes AUTORUN.INF into the directory, with the icon and the background
// picture that the full file names ("menu.ico", "background.bmp", both "NOW").
inline void WriteFullMenu(const std::string& directory, const AutorunText& text = AutorunText::Full()) {
    WriteWholeFile(directory + "/AUTORUN.INF", text.Text());
    WriteWholeFile(directory + "/menu.ico", PictureFixture("dib24.ico"));
    WriteWholeFile(directory + "/background.bmp", PictureFixture("rgb24_v3.bmp"));
}

}  // namespace automenu::testing
