#include "config/KeySchema.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace automenu {
namespace {

TEST(KeySchema, Counts) {
    EXPECT_EQ(SchemaSections().size(), 23u);
    EXPECT_EQ(KeyPatterns().size(), 65u);
    EXPECT_EQ(SchemaKeys().size(), 240u);
    std::set<std::pair<std::string, std::string>> distinct;
    for (const SchemaKey& k : SchemaKeys()) distinct.emplace(k.section, k.key);
    EXPECT_EQ(distinct.size(), 240u);
}

TEST(KeySchema, EveryKeyNamesAKnownSectionAndGate) {
    for (const SchemaKey& k : SchemaKeys()) {
        SCOPED_TRACE(k.section + " / " + k.key);
        EXPECT_TRUE(IsKnownSection(k.section));
        EXPECT_EQ(k.key.find('#'), std::string::npos);
        // Switch keys end in "Use", colour keys in "Color".
        if (k.kind == ValueKind::Switch) {
            EXPECT_EQ(k.key.substr(k.key.size() - 3), "Use");
        }
        if (k.kind == ValueKind::ColourName) {
            EXPECT_EQ(k.key.substr(k.key.size() - 5), "Color");
        }
        if (k.gate == GateKind::None) continue;
        const SchemaKey* gate = FindSchemaKey(k.gateSection, k.gateKey);
        ASSERT_NE(gate, nullptr);
        EXPECT_EQ(gate->kind, k.gate == GateKind::Switch ? ValueKind::Switch : ValueKind::Integer);
    }
}

TEST(KeySchema, Lookups) {
    const SchemaKey* k = FindSchemaKey("Installation Message Label 3 Font Setup", "Installation Message Label 3 Second Font Size");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->kind, ValueKind::Size);
    EXPECT_EQ(k->gate, GateKind::Count);
    EXPECT_EQ(k->number, 3);
    EXPECT_EQ(k->gateKey, "Installation Message Label Count");

    const SchemaKey* path = FindSchemaKey("Installation Message Label 8 Font Setup", "Installation Message Label 8 File Path");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->kind, ValueKind::LaunchTarget);
    EXPECT_EQ(path->gate, GateKind::None);

    EXPECT_TRUE(IsKnownKey("Installation Form Size Setup", "Form Height"));
    EXPECT_FALSE(IsKnownKey("Installation Form Size Setup", "Installation Form Height"));
    EXPECT_FALSE(IsKnownKey("Background Image File Setup", "Background Image Use"));  // "BackGround"
    EXPECT_TRUE(IsKnownKey("background image file setup", "BACKGROUND IMAGE USE", NameMatch::IgnoreCase));
    EXPECT_FALSE(IsKnownKey("Normal Message Label 9 Font Setup", "Normal Message Label 9 Caption"));
    EXPECT_FALSE(IsKnownKey("Normal Message Label 1 Font Setup", "Normal Message Label 2 Caption"));
    EXPECT_FALSE(IsKnownSection("Normal Message Label Font Setup"));
    EXPECT_EQ(MissingKeyYields(ValueKind::Switch), "off");
    EXPECT_EQ(ValueKindName(ValueKind::ColourName), "colour name");
}

TEST(KeySchema, SectionsInFileOrder) {
    const auto& s = SchemaSections();
    EXPECT_EQ(s.front(), "Logo Setup");
    EXPECT_EQ(s[5], "Normal Message Label Count Setup");
    EXPECT_EQ(s[6], "Normal Message Label 1 Font Setup");
    EXPECT_EQ(s[14], "Installation Message Label Count Setup");
    EXPECT_EQ(s.back(), "Installation Message Label 8 Font Setup");
}

}  // namespace
}  // namespace automenu
