#!/usr/bin/env bash
# solvane-screensaver draws the card into the window XScreenSaver names,
# scaled to it and nowhere else, and SIGTERM ends it with status 0, leaving
# nothing running. A window id that does not parse or names no window ends
# it at once with a message and a non-zero status.
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

saver="$BUILD_DIR/solvane-screensaver"
[ -x "$saver" ] || fail "the screensaver is not built: $saver"
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
SOLVANE_DIR=$(card_folder)
export SOLVANE_DIR

start_xvfb 1024x768x24
# A 640x480 window at (200,150), plain green until the card draws.
"$BUILD_DIR/tests/testwindow" 640x480+200+150 00ff00 >"$E2E_TMP/window.id" &
HELPER_PIDS+=($!)
for _ in $(seq 1 50); do [ -s "$E2E_TMP/window.id" ] && break; sleep 0.1; done
window=$(cat "$E2E_TMP/window.id")
[ -n "$window" ] || fail "the test window did not appear"
screenshot "$E2E_TMP/before.png"

XSCREENSAVER_WINDOW=$window "$saver" >"$E2E_TMP/saver.out" 2>"$E2E_TMP/saver.err" &
APP_PID=$!
inside=640x480+200+150
for _ in $(seq 1 300); do
  screenshot "$E2E_TMP/after.png"
  [ "$(count_colour "$E2E_TMP/after.png" "$inside" 0 255 0)" -lt 1000 ] && break
  kill -0 "$APP_PID" 2>/dev/null || fail "the screensaver ended: $(cat "$E2E_TMP/saver.err")"
  sleep 0.1
done
sleep 3 # the scene's texts come with the first seconds
screenshot "$E2E_TMP/after.png"
convert "$E2E_TMP/after.png" -crop "$inside" +repage "$E2E_TMP/inside.png"
check_scene "$E2E_TMP/inside.png" 640 480
# Outside the window the screen is as it was.
for shot in before after; do
  convert "$E2E_TMP/$shot.png" -fill black -draw "rectangle 200,150 839,629" "$E2E_TMP/$shot-outside.png"
done
changed=$(compare -metric AE "$E2E_TMP/before-outside.png" "$E2E_TMP/after-outside.png" null: 2>&1 || true)
[ "$changed" = 0 ] || fail "$changed pixels changed outside the window"

card_exe=$(readlink -f "$SOLVANE_DIR/solvanewin")
[ "$(readlink "/proc/$APP_PID/exe")" = "$card_exe" ] || fail "the screensaver did not become the card"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 >"$E2E_TMP/status" || fail "the card still runs 10 s after SIGTERM"
[ "$(cat "$E2E_TMP/status")" = 0 ] || fail "SIGTERM ended the card with status $(cat "$E2E_TMP/status")"
APP_PID=""
for p in /proc/[0-9]*; do
  [ "$(readlink "$p/exe" 2>/dev/null)" = "$card_exe" ] && fail "a card is left running: ${p#/proc/}"
done
echo "ok: the card drawn into a 640x480 window only, ended by SIGTERM with status 0"

# The daemon may destroy its window at any time: the card drawing into it
# ends within a second and leaves nothing running.
"$BUILD_DIR/tests/testwindow" 640x480+200+150 0000ff >"$E2E_TMP/doomed.id" &
doomed_pid=$!
HELPER_PIDS+=("$doomed_pid")
for _ in $(seq 1 50); do [ -s "$E2E_TMP/doomed.id" ] && break; sleep 0.1; done
doomed=$(cat "$E2E_TMP/doomed.id")
[ -n "$doomed" ] || fail "the second test window did not appear"
XSCREENSAVER_WINDOW=$doomed "$saver" >"$E2E_TMP/saver.out" 2>"$E2E_TMP/saver.err" &
APP_PID=$!
for _ in $(seq 1 300); do
  screenshot "$E2E_TMP/doomed.png"
  [ "$(count_colour "$E2E_TMP/doomed.png" "$inside" 0 0 255)" -lt 1000 ] && break
  kill -0 "$APP_PID" 2>/dev/null || fail "the screensaver ended before drawing: $(cat "$E2E_TMP/saver.err")"
  sleep 0.1
done
sleep 1
kill -0 "$APP_PID" 2>/dev/null || fail "the card ended before its window went: $(cat "$E2E_TMP/saver.err")"
# Its window goes with the helper's connection.
kill "$doomed_pid"
wait "$doomed_pid" 2>/dev/null || true
wait_exit "$APP_PID" 1 >"$E2E_TMP/status" || fail "the card still runs 1 s after its window was destroyed"
APP_PID=""
for p in /proc/[0-9]*; do
  [ "$(readlink "$p/exe" 2>/dev/null)" = "$card_exe" ] && fail "a card is left running: ${p#/proc/}"
done
echo "ok: a card whose window is destroyed ends within a second (status $(cat "$E2E_TMP/status")), nothing left"

# bad_id ID MESSAGE: the screensaver refuses the window id at once.
bad_id() {
  local status=0
  timeout 10 "$saver" -window-id "$1" >/dev/null 2>"$E2E_TMP/bad.err" || status=$?
  [ "$status" != 0 ] && [ "$status" != 124 ] || fail "window id $1 ended with status $status"
  grep -q "$2" "$E2E_TMP/bad.err" || fail "window id $1 gave no clear message: $(cat "$E2E_TMP/bad.err")"
}
bad_id 0x7ffffff "there is no window 0x7ffffff"
bad_id 12ab "\"12ab\" is not a window id"
echo "ok: window ids that name no window or do not parse are refused"
