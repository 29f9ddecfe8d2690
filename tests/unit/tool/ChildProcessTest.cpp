// Running xorriso: statuses, output kept for messages, and no hang when a
// program writes more than a pipe holds.
#include <gtest/gtest.h>

#include "ChildProcess.h"

namespace automenu::tool {
namespace {

TEST(ChildProcessTest, StatusAndOutput) {
    struct Case {
        std::vector<std::string> argv;
        bool started;
        int status;
        std::string output;
    };
    const Case cases[] = {
        {{"true"}, true, 0, ""},
        {{"false"}, true, 1, ""},
        {{"printf", "%s|%s", "a b", "$(x) ;"}, true, 0, "a b|$(x) ;"},  // arguments reach it untouched
        {{"cat"}, true, 0, ""},  // standard input is empty, not the tool's
        {{"ls", "/no/such/path"}, true, 2, ""},
        {{"automenu-no-such-program"}, false, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argv[0]);
        const ProgramRun run = RunProgram(c.argv);
        EXPECT_EQ(run.started, c.started);
        if (!c.started) continue;
        EXPECT_EQ(run.status, c.status);
        if (c.status == 0) {
            EXPECT_EQ(run.output, c.output);
        }
    }
    // Standard error is kept with standard output.
    EXPECT_NE(RunProgram({"ls", "/no/such/path"}).output.find("/no/such/path"), std::string::npos);
}

TEST(ChildProcessTest, LongOutputKeepsItsEnd) {
    const ProgramRun run = RunProgram({"seq", "1", "200000"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output.size(), 64u * 1024u);
    EXPECT_TRUE(run.output.ends_with("199999\n200000\n"));
}

}  // namespace
}  // namespace automenu::tool
