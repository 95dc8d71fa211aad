#!/usr/bin/env bash
# The card starts from the built folder and animates: between two moments the
# snow has moved in the sky, while the foliage in the top corners, which lies
# in front of the snow, stays exactly as it was.
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

[ -x "$BUILD_DIR/solvane/solvanewin" ] || fail "the card is not built: $BUILD_DIR/solvane/solvanewin"
start_xvfb 1024x768x24
start_card "$BUILD_DIR/solvane"
win=$(wait_for_window Solvane 30) || fail "no window titled Solvane"

sleep 3
screenshot "$E2E_TMP/a.png" "$win"
sleep 1
screenshot "$E2E_TMP/b.png" "$win"
kill -0 "$APP_PID" 2>/dev/null || fail "the card ended by itself: $(cat "$E2E_TMP/card.err")"

[ "$(identify -format '%wx%h' "$E2E_TMP/a.png")" = "800x600" ] || fail "the window is not 800x600"

# Night sky: blue dominates in the middle of the picture.
IFS=, read -r r g b <<<"$(pixel "$E2E_TMP/a.png" 300 300)"
[ "$b" -gt "$r" ] && [ "$b" -gt 30 ] || fail "no night sky at (300,300): $r,$g,$b"

moved=$(differing "$E2E_TMP/a.png" "$E2E_TMP/b.png" 800x340+0+0)
[ "$moved" -gt 150 ] || fail "the snow does not move: $moved pixels differ in the sky"
[ "$moved" -lt 40000 ] || fail "the sky itself changed: $moved of 272000 pixels differ"

for corner in 24x24+0+0 24x24+776+0; do
  still=$(differing "$E2E_TMP/a.png" "$E2E_TMP/b.png" "$corner")
  [ "$still" -eq 0 ] || fail "the foliage at $corner changed: $still pixels"
done
echo "ok: $moved pixels of snow moved"
