#!/usr/bin/env bash
# The desktop's close request (WM_DELETE_WINDOW) ends the card with status 0
# within a second, while it builds 2970 flakes and after its first frame; a
# display that goes away ends it too, with a non-zero status, leaving no
# process behind.
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

send=$BUILD_DIR/tests/send_close_request
[ -x "$send" ] || fail "the test helper is not built: $send"
folder=$(card_folder)
start_xvfb 1024x768x24

# close_and_expect_0 WHEN: sends the close request to the running card.
close_and_expect_0() {
  local win
  win=$(wait_for_window Solvane 30) || fail "no window titled Solvane ($1)"
  [ -n "${2:-}" ] && sleep "$2"
  kill -0 "$APP_PID" 2>/dev/null || fail "the card ended before the close request ($1)"
  "$send" "$win" || fail "cannot send the close request ($1)"
  wait_exit "$APP_PID" 1 >"$E2E_TMP/status" || fail "the card still runs a second after the close request ($1)"
  [ "$(cat "$E2E_TMP/status")" = 0 ] || fail "status $(cat "$E2E_TMP/status") ($1): $(cat "$E2E_TMP/card.err")"
  APP_PID=""
}

start_card "$folder"
close_and_expect_0 "after the first frame" 2

# The window shows the splash at once; 2970 flakes of a 512-pixel picture take
# several seconds more.
set_key "$folder/solvane.cfg" SnowNum 99
set_key "$folder/solvane.cfg" SnowDensity 1.0
convert "$folder/data/bg/intro.png" -resize '512x512!' "$folder/data/snow/snow.png"
printf 'snow/snow.png 256 256\n' >"$folder/data/snow/snow.spr"
start_card "$folder"
close_and_expect_0 "while building the flakes"

start_card "$folder"
wait_for_window Solvane 30 >/dev/null || fail "no window titled Solvane"
sleep 1
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null || true
XVFB_PID=""
wait_exit "$APP_PID" 2 >"$E2E_TMP/status" || fail "the card still runs 2 s after its display went away"
[ "$(cat "$E2E_TMP/status")" != 0 ] || fail "status 0 after the display went away"
APP_PID=""
echo "ok: close request ends the card with 0 before and after the first frame; a lost display ends it with $(cat "$E2E_TMP/status")"
