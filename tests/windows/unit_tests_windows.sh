#!/usr/bin/env bash
# The engine's and the card's unit tests, cross-built for Windows, under wine
# on SDL's dummy video driver: ctest runs every case in a process of its own,
# as on Linux, through tests/windows/wine_test_run.sh, and ends with its
# summary line. Wine's window driver still wants a display, so a private Xvfb
# is there too.
#   WINDOWS_BUILD_DIR  the Windows build folder, configured with the tests
#   BUILD_DIR, SOURCE_DIR  as for the end-to-end tests
#   JOBS  test processes at once (2)
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/wine_lib.sh"

: "${WINDOWS_BUILD_DIR:?WINDOWS_BUILD_DIR must name the Windows build folder}"
[ -f "$WINDOWS_BUILD_DIR/tests/CTestTestfile.cmake" ] ||
  fail "$WINDOWS_BUILD_DIR has no tests; configure it with -DBUILD_TESTING=ON"

start_xvfb 1024x768x24
start_wine
# One wineserver and wine's own services for the whole run, started here with
# no pipe of a test's: started by a test, they would hold its output open (and
# ctest waiting) until they ended.
wineserver -p >/dev/null 2>&1 </dev/null
wine cmd /c exit >/dev/null 2>&1 </dev/null || fail "wine cannot start a program"

# ctest runs in the background so that a signal ends the run at once: bash
# keeps its traps while a command in the foreground runs. It goes first on
# the way out, before wine, so that no test is counted against a dead wine.
CTEST_PID=""
stop_ctest() {
  if [ -n "$CTEST_PID" ] && kill -0 "$CTEST_PID" 2>/dev/null; then
    kill "$CTEST_PID" 2>/dev/null || true
    wait "$CTEST_PID" 2>/dev/null || true
  fi
}
trap 'stop_ctest; wine_cleanup; e2e_cleanup' EXIT

cd "$WINDOWS_BUILD_DIR"
ctest --output-on-failure -j "${JOBS:-2}" </dev/null &
CTEST_PID=$!
status=0
wait "$CTEST_PID" || status=$?
CTEST_PID=""
exit "$status"
