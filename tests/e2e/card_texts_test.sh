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
kill "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
APP_PID=""
echo "ok: clock $clock, countdown $left+$right, greeting $red pixels"

# The shipped card counts to the coming New Year: on a frozen clock at
# 31 December 2026, 23:59:50 UTC its countdown matches the one of NewYear 2027
# and not the one of NewYear 2028.
FAKETIME_LIB=$(ls /usr/lib/*/faketime/libfaketime.so.1 | head -n 1)
[ -f "$FAKETIME_LIB" ] || fail "libfaketime is not installed"
countdown_at_new_years_eve() {
  local folder=$E2E_TMP/year-$1 win
  cp -r "$BUILD_DIR/solvane" "$folder"
  set_key "$folder/solvane.cfg" SnowNum 0
  [ "$1" = shipped ] || set_key "$folder/solvane.cfg" NewYear "$1"
  # The library itself, not the faketime program: that one would stand
  # between this shell and the card. The frame timer keeps the real clock.
  (cd "$folder" && TZ=UTC LD_PRELOAD=$FAKETIME_LIB FAKETIME='2026-12-31 23:59:50' FAKETIME_DONT_FAKE_MONOTONIC=1 \
    ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=0" exec ./solvanewin) >"$E2E_TMP/card.out" 2>"$E2E_TMP/card.err" &
  APP_PID=$!
  win=$(wait_for_window Solvane 30) || fail "no window titled Solvane ($1)"
  sleep 2
  screenshot "$E2E_TMP/year-$1.png" "$win"
  kill "$APP_PID"
  wait "$APP_PID" 2>/dev/null || true
  APP_PID=""
  convert "$E2E_TMP/year-$1.png" -crop 800x32+0+560 +repage -fuzz 10% -fill white -opaque 'rgb(200,200,255)' \
    -fill black +opaque white "$E2E_TMP/year-$1-text.png"
}
countdown_at_new_years_eve shipped
countdown_at_new_years_eve 2027
countdown_at_new_years_eve 2028
same=$(compare -metric AE "$E2E_TMP/year-shipped-text.png" "$E2E_TMP/year-2027-text.png" null: 2>&1 || true)
other=$(compare -metric AE "$E2E_TMP/year-shipped-text.png" "$E2E_TMP/year-2028-text.png" null: 2>&1 || true)
[ "$same" -lt 20 ] || fail "the shipped card's countdown differs from NewYear 2027's by $same pixels"
[ "$other" -gt 200 ] || fail "the shipped card's countdown is as good as NewYear 2028's ($other pixels differ)"
echo "ok: the shipped card counts to 2027 ($same pixels from NewYear 2027, $other from NewYear 2028)"
