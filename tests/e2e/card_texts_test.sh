#!/usr/bin/env bash
# The clock and the countdown stand in pale blue near the bottom, centred;
# the greeting line falls in red.
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

[ -x "$BUILD_DIR/solvane/solvanewin" ] || fail "the card is not built: $BUILD_DIR/solvane/solvanewin"
start_xvfb 1024x768x24
start_card "$BUILD_DIR/solvane"
win=$(wait_for_window Solvane 30) || fail "no window titled Solvane"
sleep 2
screenshot "$E2E_TMP/shot.png" "$win"

clock=$(count_colour "$E2E_TMP/shot.png" 800x22+0+539 200 200 255)
[ "$clock" -gt 30 ] || fail "no clock in pale blue above y 560 ($clock pixels)"
left=$(count_colour "$E2E_TMP/shot.png" 400x30+0+561 200 200 255)
right=$(count_colour "$E2E_TMP/shot.png" 400x30+400+561 200 200 255)
[ "$left" -gt 40 ] && [ "$right" -gt 40 ] ||
  fail "the countdown is not spread around the centre above y 590 (left $left, right $right)"

# The greeting line starts above the picture and comes down within seconds.
red=0
for i in $(seq 1 60); do
  screenshot "$E2E_TMP/shot.png" "$win"
  red=$(count_colour "$E2E_TMP/shot.png" 500x555+150+0 255 0 0 5)
  [ "$red" -gt 40 ] && break
  sleep 0.5
done
[ "$red" -gt 40 ] || fail "no red greeting line within 30 seconds"
echo "ok: clock $clock, countdown $left+$right, greeting $red pixels"
