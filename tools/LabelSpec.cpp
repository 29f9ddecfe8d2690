#include "LabelSpec.h"

namespace automenu::tool {

const std::vector<LabelSpec>& LabelSpecs() {
    static const std::vector<LabelSpec> labels = [] {
        std::vector<LabelSpec> all;
        auto add = [&](std::string what, const LabelKeys& normal, const LabelKeys* hover, int number) {
            const SchemaKey* gate = FindSchemaKey(normal.section, normal.caption);
            all.push_back({std::move(what), &normal, hover, gate, hover != nullptr, number});
        };
        add("the title", TitleKeys(), nullptr, 0);
        add("the exit entry", ExitKeys(Look::Normal), &ExitKeys(Look::Hover), 0);
        for (int n = 1; n <= kNumberedLabels; ++n) add("text line " + std::to_string(n), TextLineKeys(n), nullptr, n);
        for (int n = 1; n <= kNumberedLabels; ++n)
            add("entry " + std::to_string(n), EntryKeys(n, Look::Normal), &EntryKeys(n, Look::Hover), n);
        return all;
    }();
    return labels;
}

std::string_view AppearancePrefix(const LabelKeys& keys) {
    return std::string_view(keys.name).substr(0, keys.name.size() - std::string_view(" Name").size());
}

}  // namespace automenu::tool
