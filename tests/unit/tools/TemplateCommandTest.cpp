// The template in each encoding it is written in.
#include "TemplateCommand.h"

#include <gtest/gtest.h>

#include "CheckCommand.h"
#include "formats/TextDecoding.h"
#include "formats/TextEncoding.h"
#include "platform/ProfileReader.h"
#include "support/TempDir.h"

namespace automenu::tool {
namespace {

TEST(TemplateCommand, EachEncodingReadsAsWrittenAndPassesCheck) {
    struct Case {
        TemplateEncoding encoding;
        TextEncoding read_as;
    } cases[] = {
        {TemplateEncoding::Ansi, TextEncoding::Ansi},
        {TemplateEncoding::Utf8, TextEncoding::Utf8},
        {TemplateEncoding::Utf16, TextEncoding::Utf16Le},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(TextEncodingName(c.read_as));
        const std::string bytes = TemplateText(c.encoding);
        EXPECT_EQ(DetectTextEncoding(bytes), c.read_as);
        testing::TempDir dir;
        dir.Write("AUTORUN.INF", bytes);
        for (const TemplateFile& f : TemplateFiles()) dir.Write(f.name, f.bytes);
        const CheckReport report = CheckDirectory(dir.Path());
        EXPECT_EQ(report.Count(Severity::Warning) + report.Count(Severity::Error), 0) << FormatText(report);
        const ProfileReader reader = ProfileReader::FromBytes(bytes);
        EXPECT_EQ(reader.ReadString("Title Message Label Setup", "Title Message Label Caption", "0"),
                  "Example Product 1.0");
        EXPECT_EQ(reader.ReadString("autorun", "open", "0"), "automenu.exe");
    }
    // Written as before unless asked.
    EXPECT_EQ(TemplateText(), TemplateText(TemplateEncoding::Ansi));
    EXPECT_TRUE(IsAscii(TemplateText()));
}

}  // namespace
}  // namespace automenu::tool
