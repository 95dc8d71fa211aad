#!/usr/bin/env bash
# Runs one Windows test program under wine for ctest: its output with Linux
# line ends (CMake reads gtest's list of tests line by line) and its status
# as its own. The prefix, the display and the drivers come from the caller
# (tests/windows/unit_tests_windows.sh).
set -o pipefail
output=$(wine "$@" | tr -d '\r')
status=$?
# Now and then wine fails to start a program at all: it ends at once having
# printed nothing, where every test program prints before it tests anything.
# A second start tells that apart from a test that fails.
if [ "$status" != 0 ] && [ -z "$output" ]; then
  output=$(wine "$@" | tr -d '\r')
  status=$?
fi
[ -n "$output" ] && printf '%s\n' "$output"
exit "$status"
