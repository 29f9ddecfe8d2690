// Start-up time: from exec to the first painted frame of the menu, against a
// minimal SDL2 program that opens a window of the same size and paints it
// once. Both end right after their first frame has been handed to the X
// server, so a run lasts from exec until then: the menu as automenu_firstframe
// (its own sources, built with AUTOMENU_EXIT_AFTER_FIRST_FRAME), the minimal
// window by its AUTOMENU_EXIT_AFTER_FIRST_FRAME=1 switch.
//
// Needs an X display; bench/bench_startup.sh runs it in a fresh X server,
// with and without a window manager, and prints the ratio.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

// An empty folder to start in: no AUTORUN.INF, so the menu shows its bare
// design layout.
const std::string& EmptyFolder() {
    static const std::string path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "automenu-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    return path;
}

// Runs the program once; the exec-to-exit time in seconds, or a negative
// value when it could not start or did not exit with status 0.
double RunToFirstFrame(const char* program) {
    std::vector<std::string> env_text;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "AUTOMENU_EXIT_AFTER_FIRST_FRAME=", 32) != 0) env_text.emplace_back(*e);
    env_text.emplace_back("AUTOMENU_EXIT_AFTER_FIRST_FRAME=1");
    std::vector<char*> envp;
    for (auto& s : env_text) envp.push_back(s.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, EmptyFolder().c_str());
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double>(end - start).count();
}

void Startup(benchmark::State& state, const char* program) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no X display (run bench/bench_startup.sh)");
        return;
    }
    for (auto _ : state) {
        const double seconds = RunToFirstFrame(program);
        if (seconds < 0) {
            state.SkipWithError((std::string(program) + " did not start and exit with status 0").c_str());
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_StartupMinimalSdlWindow(benchmark::State& state) { Startup(state, MINIMAL_SDL_WINDOW_BIN); }
void BM_StartupAutomenu(benchmark::State& state) { Startup(state, AUTOMENU_BIN); }

// One run per repetition, so the statistics are over single start-ups.
BENCHMARK(BM_StartupMinimalSdlWindow)->UseManualTime()->Iterations(1)->Repetitions(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupAutomenu)->UseManualTime()->Iterations(1)->Repetitions(30)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
