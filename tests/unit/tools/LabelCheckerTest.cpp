// What check tells an author about the fonts of captions.
#include "LabelChecker.h"

#include <gtest/gtest.h>

namespace automenu::tool {
namespace {

TEST(LabelChecker, NamesTheScriptOfCaptionCharactersNoFontHas) {
    struct Case {
        const char* caption;
        const char* missing;  // null: every character is drawn
    } cases[] = {
        {"Установка", nullptr},          // Cyrillic
        {"インストール 表示", nullptr},  // Japanese
        {"تثبيت البرنامج", nullptr},     // Arabic
        {"התקנה", nullptr},              // Hebrew
        {"ติดตั้ง", nullptr},               // Thai
        {"Setup \u200F(x64)", nullptr},  // a direction mark is not drawn
        {"ᬅᬓ Setup", "Bali"},            // Balinese, which no Debian desktop font has
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const std::string text =
            std::string("[Title Message Label Setup]\nTitle Message Label Use=YES\nTitle Message Label Caption=") +
            c.caption + "\n";
        const CheckedFile file("/nowhere", ProfileReader::FromBytes(text));
        FindingList findings;
        LabelChecker(file, findings).CheckScripts();
        const std::vector<Finding> found = findings.TakeSorted();
        if (!c.missing) {
            EXPECT_TRUE(found.empty()) << found[0].message;
            continue;
        }
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].line, 3);
        EXPECT_NE(found[0].message.find(std::string("has ") + c.missing + " characters"), std::string::npos)
            << found[0].message;
    }
}

}  // namespace
}  // namespace automenu::tool
