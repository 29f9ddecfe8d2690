#include "config/KeySchema.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>

namespace automenu {
namespace {

TEST(KeySchema, Counts) {
    EXPECT_EQ(SchemaSections().size(), 23u);
    EXPECT_EQ(KeyPatterns().size(), 66u);
    EXPECT_EQ(SchemaKeys().size(), 248u);
    std::set<std::pair<std::string, std::string>> distinct;
    for (const SchemaKey& k : SchemaKeys()) distinct.emplace(k.section, k.key);
    EXPECT_EQ(distinct.size(), 248u);
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
        const SchemaKey* gate = FindSchemaKey(k.gate_section, k.gate_key);
        ASSERT_NE(gate, nullptr);
        EXPECT_EQ(gate->kind, k.gate == GateKind::Switch ? ValueKind::Switch : ValueKind::Integer);
    }
}

TEST(KeySchema, Lookups) {
    const SchemaKey* k =
        FindSchemaKey("Installation Message Label 3 Font Setup", "Installation Message Label 3 Second Font Size");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->kind, ValueKind::Size);
    EXPECT_EQ(k->gate, GateKind::Count);
    EXPECT_EQ(k->number, 3);
    EXPECT_EQ(k->gate_key, "Installation Message Label Count");

    const SchemaKey* path =
        FindSchemaKey("Installation Message Label 8 Font Setup", "Installation Message Label 8 File Path");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->kind, ValueKind::LaunchTarget);
    EXPECT_EQ(path->gate, GateKind::None);
    // The Linux menu's own target follows it in the entry's section.
    const SchemaKey* linux_path =
        FindSchemaKey("Installation Message Label 8 Font Setup", "Installation Message Label 8 Linux File Path");
    ASSERT_NE(linux_path, nullptr);
    EXPECT_EQ(linux_path, path + 1);
    EXPECT_EQ(linux_path->kind, ValueKind::LinuxTarget);
    EXPECT_EQ(linux_path->gate, GateKind::None);

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

// Code holds rows, not names: each row must be the key it stands for.
TEST(KeySchema, RowsNameTheirKeys) {
    EXPECT_EQ(KeyOf(KeyId::BackgroundLeft).key, "BackGround Image Left");
    EXPECT_EQ(KeyOf(KeyId::TitleFontBold).key, "Title Message Label Font Style Bold Use");
    EXPECT_EQ(KeyOf(KeyId::ExitFirstFontColor).key, "Exit Label First Font Color");
    EXPECT_EQ(KeyOf(KeyId::ExitSecondFontName).key, "Exit Label Second Font Name");
    EXPECT_EQ(KeyOf(KeyId::TextLineTop, 8).key, "Normal Message Label 8 Font Top");
    EXPECT_EQ(&KeyOf(KeyId::EntrySecondFontSize, 3), FindSchemaKey("Installation Message Label 3 Font Setup",
                                                                   "Installation Message Label 3 Second Font Size"));
    EXPECT_THROW(KeyOf(KeyId::EntryCaption, 9), std::out_of_range);
    EXPECT_THROW(KeyOf(KeyId::ExitUse, 1), std::out_of_range);
}

TEST(KeySchema, SectionsInFileOrder) {
    const auto& s = SchemaSections();
    EXPECT_EQ(s.front(), "Logo Setup");
    EXPECT_EQ(s[5], "Normal Message Label Count Setup");
    EXPECT_EQ(s[6], "Normal Message Label 1 Font Setup");
    EXPECT_EQ(s[14], "Installation Message Label Count Setup");
    EXPECT_EQ(s.back(), "Installation Message Label 8 Font Setup");
}

// The man pages name no key in full, but give the table's counts and quote
// parts of key names.
TEST(KeySchema, ManPagesAgreeWithTheTable) {
    auto page = [](const char* name) {
        std::ifstream in(std::string(AUTOMENU_SOURCE_DIR "/doc/") + name);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    EXPECT_NE(page("automenu-tool.1").find("Lists the " + std::to_string(SchemaSections().size()) + " sections and " +
                                          std::to_string(SchemaKeys().size()) + " keys"),
              std::string::npos);
    for (const char* part : {"First Font", "Second Font", "File Path", "Linux File Path"}) {
        EXPECT_NE(page("automenu.1").find(std::string("\\(lq") + part + "\\(rq"), std::string::npos) << part;
        EXPECT_TRUE(std::ranges::any_of(SchemaKeys(), [&](const SchemaKey& k) {
            return k.key.find(part) != k.key.npos;
        })) << part;
    }
}

}  // namespace
}  // namespace automenu
