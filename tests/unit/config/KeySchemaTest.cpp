#include "config/KeySchema.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
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

// The rows' names are what code holds; each must be the key it names.
TEST(KeySchema, RowsNameTheirKeys) {
    const struct {
        KeyId id;
        int number;
        const char* section;
        const char* key;
    } rows[] = {
        {KeyId::LogoUse, 0, "Logo Setup", "Logo Use"},
        {KeyId::BackgroundLeft, 0, "BackGround Image File Setup", "BackGround Image Left"},
        {KeyId::TitleFontBold, 0, "Title Message Label Setup", "Title Message Label Font Style Bold Use"},
        {KeyId::ExitFirstFontColor, 0, "Exit Label Setup", "Exit Label First Font Color"},
        {KeyId::ExitSecondFontName, 0, "Exit Label Setup", "Exit Label Second Font Name"},
        {KeyId::TextLineCount, 0, "Normal Message Label Count Setup", "Normal Message Label Count"},
        {KeyId::TextLineTop, 8, "Normal Message Label 8 Font Setup", "Normal Message Label 8 Font Top"},
        {KeyId::EntryFirstFontUnderline, 1, "Installation Message Label 1 Font Setup",
         "Installation Message Label 1 First Font Style Underline Use"},
        {KeyId::EntrySecondFontSize, 5, "Installation Message Label 5 Font Setup",
         "Installation Message Label 5 Second Font Size"},
    };
    for (const auto& r : rows) {
        const SchemaKey& k = KeyOf(r.id, r.number);
        EXPECT_EQ(k.section, r.section);
        EXPECT_EQ(k.key, r.key);
    }
    EXPECT_THROW(KeyOf(KeyId::EntryCaption, 0), std::out_of_range);
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

// The man pages name no key in full; what they say of the table must hold.
TEST(KeySchema, ManPagesAgreeWithTheTable) {
    auto page = [](const char* name) {
        std::ifstream in(std::string(AUTOMENU_SOURCE_DIR "/doc/") + name);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const std::string tool = page("automenu-tool.1");
    const std::string counts = "Lists the " + std::to_string(SchemaSections().size()) + " sections and " +
                               std::to_string(SchemaKeys().size()) + " keys";
    EXPECT_NE(tool.find(counts), std::string::npos) << counts;
    // Parts of key names the pages quote: each is in the page and in some key.
    const struct {
        const char* page;
        std::string part;
    } parts[] = {
        {"automenu.1", "First Font"}, {"automenu.1", "Second Font"},      {"automenu.1", "File Path"},
        {"automenu-tool.1", "Second Font"}, {"automenu-tool.1", "Second Font Size"},
    };
    for (const auto& p : parts) {
        EXPECT_NE(page(p.page).find("\\(lq" + p.part + "\\(rq"), std::string::npos) << p.page << ": " << p.part;
        bool in_table = false;
        for (const SchemaKey& k : SchemaKeys()) in_table = in_table || k.key.find(p.part) != std::string::npos;
        EXPECT_TRUE(in_table) << p.part;
    }
}

}  // namespace
}  // namespace automenu
