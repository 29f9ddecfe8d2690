# The helpers of the command-line and package test scripts, sourced by each.
# A failed check says FAIL and is counted, so one run names every fault;
# checks_done ends the script: "ok" and status 0, or status 1.
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
checks_done() {
    [ "$failures" -eq 0 ] && echo ok
    exit $((failures > 0))
}
