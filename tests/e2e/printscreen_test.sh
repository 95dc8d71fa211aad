#!/usr/bin/env bash
# Print Screen under the engine's default event filter saves the last flipped
# frame as a BMP named by the frame number, of the screen's size; releasing
# the key saves nothing more.
source "$SOURCE_DIR/tests/e2e/lib.sh"

EXAMPLE="$BUILD_DIR/examples/glimmer-example"
[ -x "$EXAMPLE" ] || fail "the example is not built: $EXAMPLE"

# The engine opens audio and never plays; the dummy driver keeps the run
# independent of the machine's sound set-up. In a sanitizer build, leaks of
# the system libraries are suppressed and judged by the report, not the status
# (see the suppression file).
export SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS="suppressions=$SOURCE_DIR/tests/e2e/lsan-system-libraries.supp:exitcode=0"

start_xvfb 800x600x24
cd "$E2E_TMP"
"$EXAMPLE" >out.txt 2>err.txt &
APP_PID=$!
wid=$(wait_for_window Glimmer-Example 60) || fail "the example's window did not appear"
for i in $(seq 1 600); do grep -qx running out.txt && break; sleep 0.1; done
grep -qx running out.txt || fail "the example never reported its first frame"

# Keys go to the window under the pointer (no window manager runs here).
xdotool mousemove --window "$wid" 400 500
xdotool key Print
shot=""
for i in $(seq 1 100); do
  shot=$(ls | grep -E '^[0-9]{10}\.bmp$' | head -n 1 || true)
  [ -n "$shot" ] && break
  sleep 0.1
done
[ -n "$shot" ] || fail "no screenshot appeared"
sleep 0.5
[ "$(ls | grep -cE '\.bmp$')" = 1 ] || fail "more than one screenshot: $(ls)"
[ "$((10#${shot%.bmp}))" -gt 0 ] || fail "screenshot $shot names frame 0, before any frame was drawn"

size=$(identify -format '%w %h' "$shot")
[ "$size" = "800 600" ] || fail "screenshot is $size, the screen is 800 600"
lamp=$(pixel "$shot" 200 300)
[ "$lamp" = "190,40,40" ] || [ "$lamp" = "189,40,40" ] || fail "screenshot shows $lamp where the lamp is"

# Keys go to the window under the pointer (no window manager runs here).
xdotool mousemove --window "$wid" 400 500
xdotool key Escape
# The program must be gone (and reaped by this shell) before wait_exit runs
# in its command substitution, or the subshell cannot learn its status.
for i in $(seq 1 600); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.05; done
status=$(wait_exit "$APP_PID" 1) || fail "Escape did not end the example"
APP_PID=""
[ "$status" = 0 ] || fail "exit status $status"
if grep -qE 'ERROR: AddressSanitizer|Direct leak|runtime error' err.txt; then
  fail "sanitizer report: $(cat err.txt)"
fi
echo "print screen: $shot ok"
