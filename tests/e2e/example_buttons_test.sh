#!/usr/bin/env bash
# The example program under its own X server: each button's click changes the
# picture and prints its line, the tracked window's sprites follow the
# pointer, and Escape ends the program with status 0. In a sanitizer build the
# same run must also leave no sanitizer report.
source "$SOURCE_DIR/tests/e2e/lib.sh"

EXAMPLE="$BUILD_DIR/examples/glimmer-example"
[ -x "$EXAMPLE" ] || fail "the example is not built: $EXAMPLE"

# near "r,g,b" "r,g,b": colours equal within 3 per channel (the screenshot's
# conversion to fractions and back may round by one).
near() {
  local IFS=,
  local -a a=($1) b=($2)
  local i d
  for i in 0 1 2; do
    d=$(( a[i] - b[i] )); d=${d#-}
    [ "$d" -le 3 ] || return 1
  done
}

# wait_for_line TEXT SECONDS: waits until the program has printed the line.
wait_for_line() {
  local i
  for i in $(seq 1 $(($2 * 10))); do
    grep -qxF "$1" "$E2E_TMP/out.txt" && return 0
    sleep 0.1
  done
  return 1
}

expect_pixel() {  # FILE X Y "r,g,b" what
  local got
  got=$(pixel "$1" "$2" "$3")
  near "$got" "$4" || fail "$5: pixel ($2,$3) is $got, expected $4"
}

crop_signature() {  # FILE WxH+X+Y
  convert "$1" -crop "$2" +repage -format '%#' info:
}

# The engine opens audio and never plays; the dummy driver keeps the run
# independent of the machine's sound set-up. In a sanitizer build, leaks of
# the system libraries are suppressed and judged by the report, not the status
# (see the suppression file).
export SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS="suppressions=$SOURCE_DIR/tests/e2e/lsan-system-libraries.supp:exitcode=0"

start_xvfb 800x600x24
cd "$E2E_TMP"
"$EXAMPLE" >"$E2E_TMP/out.txt" 2>"$E2E_TMP/err.txt" &
APP_PID=$!

wid=$(wait_for_window Glimmer-Example 60) || fail "the example's window did not appear"
wait_for_line running 60 || fail "the example never reported its first frame"
[ -f example-data/example.cfg ] || fail "the example did not write its settings"

screenshot before.png "$wid"
expect_pixel before.png 200 300 "190,40,40" "lamp before its click"
expect_pixel before.png 600 450 "250,220,40" "follower before any motion"
expect_pixel before.png 200 450 "40,220,230" "mirror before any motion"
counter_before=$(crop_signature before.png 160x36+480+280)

# Lamp: one click (press and release) switches it on once.
xdotool mousemove --window "$wid" 200 300 click 1
wait_for_line "lamp: on" 20 || fail "the lamp's click printed nothing"
# Counter: two clicks.
xdotool mousemove --window "$wid" 560 300 click 1
wait_for_line "counter: 1" 20 || fail "the counter's first click printed nothing"
xdotool click 1
wait_for_line "counter: 2" 20 || fail "the counter's second click printed nothing"
# Motion far from both tracked sprites moves them both.
xdotool mousemove --window "$wid" 650 120
sleep 1

screenshot after.png "$wid"
expect_pixel after.png 200 300 "40,190,60" "lamp after its click"
[ "$(crop_signature after.png 160x36+480+280)" != "$counter_before" ] ||
  fail "the counter's text did not change on screen"
expect_pixel after.png 650 120 "250,220,40" "follower after motion"
expect_pixel after.png 150 120 "40,220,230" "mirror after motion"
expect_pixel after.png 600 450 "$(pixel before.png 620 450)" "follower's old place"

expected=$'running\nlamp: on\ncounter: 1\ncounter: 2'
[ "$(cat out.txt)" = "$expected" ] || fail "unexpected output: $(cat out.txt)"

# Keys go to the window under the pointer (no window manager runs here).
xdotool mousemove --window "$wid" 400 500
xdotool key Escape
# The program must be gone (and reaped by this shell) before wait_exit runs
# in its command substitution, or the subshell cannot learn its status.
for i in $(seq 1 600); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.05; done
status=$(wait_exit "$APP_PID" 1) || fail "Escape did not end the example"
APP_PID=""
[ "$status" = 0 ] || fail "exit status $status after Escape: $(cat err.txt)"

# Anything a sanitizer build finds wrong with the run itself.
if grep -qE 'ERROR: AddressSanitizer|Direct leak|runtime error' err.txt; then
  fail "sanitizer report: $(cat err.txt)"
fi
echo "example buttons: ok"
