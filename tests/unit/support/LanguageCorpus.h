// The menus of tests/data/languages: one a language, each saved the four ways
// an author saves it, with the locale of a PC of the language, its code page
// and every value the menu must read (expected.txt).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/FileBytes.h"

namespace automenu::testing {

inline const std::string kLanguageCorpus = std::string(AUTOMENU_TEST_DATA) + "/languages";
inline const char* const kCorpusEncodings[] = {"ansi.inf", "utf8.inf", "utf8-mark.inf", "utf16.inf"};

struct CorpusRow {
    std::string section, key, value;
};

struct CorpusLanguage {
    std::string name;
    std::string locale;
    unsigned code_page = 0;
    std::vector<CorpusRow> rows;

    std::string Value(std::string_view key) const {
        for (const CorpusRow& r : rows)
            if (r.key == key) return r.value;
        ADD_FAILURE() << name << " has no " << key;
        return {};
    }
    // The bytes of the menu saved in `encoding` (one of kCorpusEncodings).
    std::string File(std::string_view encoding) const {
        return FileBytes(kLanguageCorpus + "/" + name + "/" + std::string(encoding));
    }
};

inline std::vector<CorpusLanguage> CorpusLanguages() {
    std::vector<CorpusLanguage> out;
    for (const auto& entry : std::filesystem::directory_iterator(kLanguageCorpus)) {
        if (!entry.is_directory()) continue;
        CorpusLanguage language;
        language.name = entry.path().filename().string();
        std::istringstream lines(FileBytes(entry.path() / "expected.txt"));
        std::string code_page;
        std::getline(lines, language.locale);
        std::getline(lines, code_page);
        language.code_page = static_cast<unsigned>(std::stoul(code_page));
        for (std::string line; std::getline(lines, line);) {
            const std::size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
            language.rows.push_back(
                {line.substr(0, tab1), line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)});
        }
        out.push_back(std::move(language));
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return out;
}

}  // namespace automenu::testing
