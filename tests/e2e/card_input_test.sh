#!/usr/bin/env bash
# Once the card is on screen, a key press ends it normally within a second.
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

[ -x "$BUILD_DIR/solvane/solvanewin" ] || fail "the card is not built: $BUILD_DIR/solvane/solvanewin"
start_xvfb 1024x768x24
start_card "$BUILD_DIR/solvane"
win=$(wait_for_window Solvane 30) || fail "no window titled Solvane"
sleep 2
kill -0 "$APP_PID" 2>/dev/null || fail "the card ended before the key press: $(cat "$E2E_TMP/card.err")"
xdotool windowfocus --sync "$win" || fail "cannot focus the card"
xdotool key --clearmodifiers space
wait_exit "$APP_PID" 1 >"$E2E_TMP/status" || fail "the card still runs a second after the key press"
status=$(cat "$E2E_TMP/status")
[ "$status" = "0" ] || fail "the card ended with status $status: $(cat "$E2E_TMP/card.err")"
echo "ok: ended with status 0"
