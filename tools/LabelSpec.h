// The labels of the menu window and the keys that configure them, as check
// speaks of them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/KeySchema.h"
#include "menu/SettingsPass.h"

namespace automenu::tool {

struct LabelSpec {
    std::string what;  // "entry 3", "the exit entry", ...
    const LabelKeys* normal;
    const LabelKeys* hover;  // null: no hover appearance
    const SchemaKey* gate;   // the caption's key: shown when its gate is open
    bool clickable = false;
    int number = 0;  // 1..8 for numbered labels

    const std::string& Section() const { return normal->section; }
};

// The title, the exit entry, the text lines, the entries.
const std::vector<LabelSpec>& LabelSpecs();

// The keys' common prefix, "... First Font" and the like.
std::string_view AppearancePrefix(const LabelKeys& keys);

}  // namespace automenu::tool
