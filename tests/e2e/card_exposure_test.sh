#!/usr/bin/env bash
# The card shows only what changed on most frames; when another window has
# covered part of it and goes away, the window system asks for the uncovered
# part and the card shows its whole picture again at once: nothing of the
# other window's picture remains in the card's window.
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

[ -x "$BUILD_DIR/solvane/solvanewin" ] || fail "the card is not built: $BUILD_DIR/solvane/solvanewin"
start_xvfb 1024x768x24
start_card "$BUILD_DIR/solvane"
win=$(wait_for_window Solvane 30) || fail "no window titled Solvane"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$win")"

# The pointer rests in the middle of the card; the other window stays clear
# of it, since the pointer entering the card again ends it.
xmessage -name cover -title cover -bg '#ff00ff' -fg '#ff00ff' -geometry "300x400+$((X + 20))+$((Y + 100))" \
  -buttons "" "" &
COVER_PID=$!
HELPER_PIDS+=("$COVER_PID")
wait_for_window '^cover$' 20 >/dev/null || fail "the covering window did not appear"
sleep 0.5
# The screen itself: a window's own picture says nothing of what covers it.
region="300x400+$((X + 20))+$((Y + 100))"
screenshot "$E2E_TMP/covered.png"
[ "$(count_colour "$E2E_TMP/covered.png" "$region" 255 0 255)" -gt 100000 ] ||
  fail "the other window does not cover the card"

kill "$COVER_PID"
wait "$COVER_PID" 2>/dev/null || true
sleep 0.1
screenshot "$E2E_TMP/uncovered.png"
kill -0 "$APP_PID" 2>/dev/null || fail "the card ended: $(cat "$E2E_TMP/card.err")"

left=$(count_colour "$E2E_TMP/uncovered.png" "$region" 255 0 255)
[ "$left" -eq 0 ] || fail "$left pixels of the other window remain in the card's window"
IFS=, read -r r g b <<<"$(pixel "$E2E_TMP/uncovered.png" $((X + 150)) $((Y + 300)))"
[ "$b" -gt "$r" ] && [ "$b" -gt 30 ] || fail "no night sky where the other window was: $r,$g,$b"
echo "ok: the uncovered card is whole again"
