#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test: the unit tests,
# the end-to-end tests (each in its own X server with a window manager), the
# unit tests again under AddressSanitizer + UndefinedBehaviorSanitizer, each
# fuzzer for a bounded time, the Windows program's tests under Wine, and the
# release files (the Debian package, its files, control fields and lintian, and
# the Linux and Windows archives).
set -uo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
ensure_packages $BUILD_PACKAGES $TEST_PACKAGES
jobs=$(nproc)
FUZZ_SECONDS=${FUZZ_SECONDS:-20}
logs=build/test-logs
failed_steps=()
skipped_steps=()
mkdir -p "$logs"
passed=0
failed=0

count() {  # adds ctest's counts from a log
    local line
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)
    [ -n "$line" ] || return 0
    local f t
    f=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + t - f))
    failed=$((failed + f))
}

step() {  # step NAME COMMAND...: a step that fails counts as one failure
    local name=$1 start=$SECONDS; shift
    echo "== $name"
    if ! "$@"; then failed_steps+=("$name"); fi
    echo "-- $name: $((SECONDS - start)) s"
}

build_main() {
    # Without the Windows menu beside the tool, whatever an earlier run's
    # Debian package step left in the cache: the tests see the same build
    # every run.
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DAUTOMENU_WERROR=ON -DAUTOMENU_WINDOWS_MENU= >/dev/null &&
        cmake --build build -j"$jobs"
}
# run_ctest LOG DIR [CTEST ARGUMENTS]
run_ctest() {
    local log=$logs/$1 dir=$2; shift 2
    ctest --test-dir "$dir" --output-on-failure --no-tests=error -j"$jobs" "$@" >"$log" 2>&1
    local rc=$?
    # Passing tests one line each would bury the failures: show those and the totals.
    grep -v -E '^ *Start +[0-9]+:|Test +#[0-9]+: .* Passed' "$log"
    count "$log"
    return "$rc"
}
# The package's test waits for its own step.
test_main() { run_ctest ctest.log build -LE package; }
build_asan() {
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAUTOMENU_SANITIZE=ON -DAUTOMENU_BENCH=OFF \
        -DAUTOMENU_WERROR=ON >/dev/null &&
        cmake --build build-asan -j"$jobs" --target automenu_tests
}
test_asan() {
    # LeakSanitizer stays on; tests/lsan.supp lists the leaks of system
    # libraries we cannot fix.
    ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
        UBSAN_OPTIONS=print_stacktrace=1 run_ctest ctest-asan.log build-asan -L unit
}
fuzz() {
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAUTOMENU_FUZZ=ON \
        -DAUTOMENU_TESTS=OFF -DAUTOMENU_BENCH=OFF -DAUTOMENU_WERROR=ON >/dev/null || return 1
    cmake --build build-fuzz -j"$jobs" || return 1
    FUZZ_SECONDS=$FUZZ_SECONDS run_ctest fuzz.log build-fuzz -L fuzz --timeout $((FUZZ_SECONDS + 300))
}

# The Windows program, cross-compiled with mingw-w64 for 64 and 32 bits, and
# its tests under Wine. One prefix serves both: with wine32 installed it runs
# 32- and 64-bit programs, as 64-bit Windows does.
build_windows() {  # build_windows DIR TOOLCHAIN
    cmake -S . -B "$1" --toolchain "cmake/mingw-w64-$2.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DAUTOMENU_WERROR=ON >/dev/null && cmake --build "$1" -j"$jobs"
}
test_windows() {  # test_windows DIR
    local build=$1 rc=0
    export WINEPREFIX=$PWD/build-windows/wineprefix WINEDEBUG=-all
    mkdir -p "$logs/$build"
    # A new prefix takes Wine 10 to 20 s to set up; later runs reuse it.
    [ -d "$WINEPREFIX" ] || xvfb-run -a wineboot -i >/dev/null 2>&1
    E2E_ARTIFACTS=$PWD/$logs/$build run_ctest "$build.log" "$build" -L wine || rc=1
    wineserver -k 2>/dev/null
    return "$rc"
}

# The release files (scripts/release.sh): the Debian package of build/,
# carrying the 32-bit Windows menu (it runs on 32- and 64-bit Windows), and
# the Linux and Windows archives, checked by tests/package/.
release_files() {
    rm -rf build/release
    JOBS=$jobs scripts/release.sh build/release >"$logs/release.log" 2>&1 ||
        { echo "release.sh failed"; tail -n 20 "$logs/release.log"; return 1; }
    run_ctest package.log build -L package
}

step "build" build_main
step "tests" test_main
step "build with sanitizers" build_asan
step "unit tests with sanitizers" test_asan
if [ -n "$(ls fuzz/fuzz_*.cpp 2>/dev/null)" ]; then step "fuzzers" fuzz; fi
step "build for Windows (64-bit)" build_windows build-windows x86_64
step "Windows tests under Wine (64-bit)" test_windows build-windows
step "build for Windows (32-bit)" build_windows build-windows32 i686
# The 32-bit Wine comes from another architecture's packages, which a broken
# mirror can withhold: the 64-bit tests run the same code, so the 32-bit
# program is still built, and its tests are reported as skipped.
# Where the package is installed but the machine cannot run 32-bit code (a
# kernel or sandbox without it), Wine says that wine32 is missing.
wine32_missing() {
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" ||
        { echo "wine32:i386 is not installed"; return 0; }
    local probe=build-windows32/tests/windows/automenu_windows_tests.exe out
    [ -f "$probe" ] || return 1
    out=$(WINEPREFIX=$PWD/build-windows/wineprefix WINEDEBUG=-all timeout 120 \
        xvfb-run -a wine "$probe" --gtest_list_tests 2>&1 | grep -m1 -i "wine32 is missing")
    wineserver -k 2>/dev/null
    [ -n "$out" ] || return 1
    echo "Wine cannot start 32-bit programs on this machine: $out"
}
if reason=$(wine32_missing); then
    echo "== Windows tests under Wine (32-bit): skipped, $reason"
    skipped_steps+=("Windows tests under Wine (32-bit) ($reason)")
else
    step "Windows tests under Wine (32-bit)" test_windows build-windows32
fi
step "release files" release_files

echo
if [ ${#failed_steps[@]} -gt 0 ]; then
    echo "Failed steps: ${failed_steps[*]}"
    # A step that failed without a failing test (a build, a missing test
    # list) still counts as a failure.
    [ "$failed" -gt 0 ] || failed=${#failed_steps[@]}
fi
[ ${#skipped_steps[@]} -eq 0 ] || printf 'Skipped: %s\n' "${skipped_steps[@]}"
echo "$passed passed, $failed failed"
[ ${#failed_steps[@]} -eq 0 ] && [ "$failed" -eq 0 ]
