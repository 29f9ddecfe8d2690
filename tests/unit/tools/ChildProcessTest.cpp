// Running xorriso: statuses, output kept for messages, no hang when a
// program writes more than a pipe holds, and nothing left running when the
// tool stops it.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ChildProcess.h"
#include "support/TempDir.h"

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
    // Watched for a stop that never comes, it ends as unwatched.
    const std::function<bool()> unwatched, never = [] { return false; };
    for (const Case& c : cases) {
        for (const std::function<bool()>* stop : {&unwatched, &never}) {
            SCOPED_TRACE(c.argv[0] + (*stop ? " watched" : ""));
            const ProgramRun run = RunProgram(c.argv, *stop);
            EXPECT_EQ(run.started, c.started);
            EXPECT_FALSE(run.stopped);
            if (!c.started) continue;
            EXPECT_EQ(run.status, c.status);
            if (c.status == 0) {
                EXPECT_EQ(run.output, c.output);
            }
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

// Whether `pid` is still a process that runs (not gone, not a zombie).
bool Runs(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const std::size_t end = line.rfind(')');
    return end != std::string::npos && end + 2 < line.size() && line[end + 2] != 'Z';
}

TEST(ChildProcessTest, StoppedWithAllItStarted) {
    // A program that starts another and waits, silent, as xorriso writing an
    // image does; both the program and the one it started must go.
    testing::TempDir dir;
    const std::string pids = dir.Join("pids");
    const std::string script = dir.Write("slow.sh", "sleep 600 & echo $$ $! >" + pids + "\nwait\n");
    std::string recorded;
    const ProgramRun run = RunProgram({"sh", script}, [&] {
        std::ifstream in(pids);
        return static_cast<bool>(std::getline(in, recorded));
    });
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.stopped);
    pid_t shell = 0, sleeper = 0;
    std::istringstream(recorded) >> shell >> sleeper;
    ASSERT_GT(shell, 0);
    ASSERT_GT(sleeper, 0);
    EXPECT_FALSE(Runs(shell));
    // Killed at once; its new parent reaps it in its own time.
    for (int i = 0; i < 100 && Runs(sleeper); ++i) ::usleep(10000);
    EXPECT_FALSE(Runs(sleeper));
}

}  // namespace
}  // namespace automenu::tool
