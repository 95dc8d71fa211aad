# Wine for the Windows tests, after tests/e2e/lib.sh: sourced, not run.
# A prefix of the test's own in its temporary folder, ended with it.

start_wine() {
  export WINEPREFIX="$E2E_TMP/wine"
  export WINEDEBUG=-all
  # No offers to install Mono or Gecko, which nothing here needs.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # The programs' own folder is found by the Windows path; the Linux one must
  # not help them.
  unset SOLVANE_DIR
  # The Linux driver names the tests use mean nothing to SDL on Windows.
  unset SDL_VIDEODRIVER SDL_AUDIODRIVER
  trap 'wine_cleanup; e2e_cleanup' EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  wineboot -i >"$E2E_TMP/wineboot.log" 2>&1 || fail "wineboot failed: $(tail -n 5 "$E2E_TMP/wineboot.log")"
  # Hiding a window that a window manager could manage, wine waits up to two
  # seconds for the manager, and a bare Xvfb has none; Windows has no such wait.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || fail "wine reg failed"
  wineserver -w
}

wine_cleanup() {
  # Waits for the server to go, so that no wine process outlives the test.
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    timeout 10 wineserver -w 2>/dev/null || true
  fi
}

# wait_window_gone WINDOW SECONDS: prints the milliseconds until the window
# is gone; fails when it is still there after the given time.
wait_window_gone() {
  local window=$1 limit=$2 started i
  started=$(date +%s%N)
  for i in $(seq 1 $((limit * 100))); do
    if ! xdotool getwindowname "$window" >/dev/null 2>&1; then
      echo $((($(date +%s%N) - started) / 1000000))
      return 0
    fi
    sleep 0.01
  done
  return 1
}
