// An ELF program for the launch tests: appends "ran ARGV0 argc=N" to the file
// named by AUTOMENU_TEST_MARKS.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const char* marks = std::getenv("AUTOMENU_TEST_MARKS");
    if (!marks) return 2;
    std::FILE* out = std::fopen(marks, "a");
    if (!out) return 1;
    std::fprintf(out, "ran %s argc=%d\n", argc > 0 ? argv[0] : "", argc);
    return std::fclose(out) == 0 ? 0 : 1;
}
