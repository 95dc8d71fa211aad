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

# Every language shows its own countdown, whole on the screen, at the widest
# time of the year: on 2 July 2026, 00:07:08 UTC, 4391 hours and more are left
# to the New Year 2027. "none" is a folder without the Language key, which
# keeps the card's texts as they were. auto follows the locale; a language
# without a catalog falls back to English and says so.
countdown_in_language() {
  local name=$1 language=$2 locale=${3:-C.UTF-8} folder=$E2E_TMP/lang-$1 win box
  cp -r "$BUILD_DIR/solvane" "$folder"
  set_key "$folder/solvane.cfg" SnowNum 0
  sed -i '/^Language /d' "$folder/solvane.cfg"
  [ "$language" = none ] || set_key "$folder/solvane.cfg" Language "$language"
  (cd "$folder" && TZ=UTC LANG=$locale LC_ALL= LC_MESSAGES= LANGUAGE= LD_PRELOAD=$FAKETIME_LIB \
    FAKETIME='2026-07-02 00:07:08' FAKETIME_DONT_FAKE_MONOTONIC=1 \
    ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=0" exec ./solvanewin) >"$E2E_TMP/card.out" 2>"$E2E_TMP/lang-$name.err" &
  APP_PID=$!
  win=$(wait_for_window Solvane 30) || fail "no window titled Solvane ($name)"
  sleep 2
  screenshot "$E2E_TMP/lang-$name.png" "$win"
  kill "$APP_PID"
  wait "$APP_PID" 2>/dev/null || true
  APP_PID=""
  convert "$E2E_TMP/lang-$name.png" -crop 800x32+0+560 +repage -fuzz 10% -fill white -opaque 'rgb(200,200,255)' \
    -fill black +opaque white "$E2E_TMP/lang-$name-text.png"
  box=$(convert "$E2E_TMP/lang-$name-text.png" -trim -format '%w %X' info:)
  read -r width left <<<"${box//+/}"
  [ "$width" -gt 300 ] && [ "$left" -gt 0 ] && [ $((left + width)) -lt 800 ] ||
    fail "the $name countdown does not stand whole on the screen (from x $left, $width wide)"
}
languages="none en ru uk de fr es"
for language in $languages; do countdown_in_language "$language" "$language"; done
for language in $languages; do
  [ ! -s "$E2E_TMP/lang-$language.err" ] || fail "$language: $(head -c 300 "$E2E_TMP/lang-$language.err")"
done
for a in $languages; do
  for b in $languages; do
    [[ $a < $b ]] || continue
    differ=$(compare -metric AE "$E2E_TMP/lang-$a-text.png" "$E2E_TMP/lang-$b-text.png" null: 2>&1 || true)
    [ "$differ" -gt 200 ] || fail "the $a and $b countdowns look alike ($differ pixels differ)"
  done
done
countdown_in_language auto-de auto de_DE.UTF-8
countdown_in_language unknown xx
same_de=$(compare -metric AE "$E2E_TMP/lang-auto-de-text.png" "$E2E_TMP/lang-de-text.png" null: 2>&1 || true)
same_en=$(compare -metric AE "$E2E_TMP/lang-unknown-text.png" "$E2E_TMP/lang-en-text.png" null: 2>&1 || true)
[ "$same_de" -lt 20 ] || fail "Language auto under de_DE.UTF-8 is not German ($same_de pixels from de)"
[ "$same_en" -lt 20 ] || fail "Language xx is not English ($same_en pixels from en)"
grep -q 'no texts in "xx"' "$E2E_TMP/lang-unknown.err" || fail "Language xx says nothing: $(cat "$E2E_TMP/lang-unknown.err")"
echo "ok: $languages each show their own countdown whole; auto follows the locale, xx falls back to English"
