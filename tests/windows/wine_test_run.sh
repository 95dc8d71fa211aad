#!/usr/bin/env bash
# Runs one Windows test program under wine for ctest: its output with Linux
# line ends (CMake reads gtest's list of tests line by line) and its status
# as its own. The prefix, the display and the drivers come from the caller
# (tests/windows/unit_tests_windows.sh).
set -o pipefail
wine "$@" | tr -d '\r'
