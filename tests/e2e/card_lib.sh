# Helpers for the card's end-to-end tests: sourced after lib.sh.

# start_card FOLDER: starts the card in its folder; sets APP_PID.
# In a sanitizer build the leak check at exit stays off for the card: the X11
# libraries SDL loads keep allocations to the end and are unloaded before the
# check, so their reports cannot be suppressed by name. The unit tests check
# the engine and the card for leaks.
start_card() {
  (cd "$1" && ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" exec ./solvanewin) \
    >"$E2E_TMP/card.out" 2>"$E2E_TMP/card.err" &
  APP_PID=$!
}

# card_folder: a copy of the built card's folder that a test may change.
card_folder() {
  [ -x "$BUILD_DIR/solvane/solvanewin" ] || fail "the card is not built: $BUILD_DIR/solvane/solvanewin"
  cp -r "$BUILD_DIR/solvane" "$E2E_TMP/card"
  echo "$E2E_TMP/card"
}

# set_key CFG KEY VALUE: appends a key to a configuration file; the last value wins.
set_key() {
  printf '%s %s\n' "$2" "$3" >>"$1"
}

# count_colour FILE GEOMETRY R G B [FUZZ%]: how many pixels of the region
# (WxH+X+Y) lie within the fuzz of the colour.
count_colour() {
  local fuzz=${6:-4}
  convert "$1" -crop "$2" +repage -fuzz "$fuzz%" -fill black +opaque "rgb($3,$4,$5)" \
    -fill white -opaque "rgb($3,$4,$5)" -colorspace Gray -format "%[fx:int(mean*w*h+0.5)]" info:
}

# differing FILE_A FILE_B GEOMETRY: pixels of the region that differ.
differing() {
  convert "$1" -crop "$3" +repage "$E2E_TMP/diff_a.png"
  convert "$2" -crop "$3" +repage "$E2E_TMP/diff_b.png"
  compare -metric AE -fuzz 2% "$E2E_TMP/diff_a.png" "$E2E_TMP/diff_b.png" null: 2>&1 || true
}

# mean_brightness FILE GEOMETRY: mean of the region, 0..1.
mean_brightness() {
  convert "$1" -crop "$2" +repage -colorspace Gray -format "%[fx:mean]" info:
}

# check_scene SHOT W H: the scene fills W x H.
check_scene() {
  local shot=$1 w=$2 h=$3
  [ "$(identify -format '%wx%h' "$shot")" = "${w}x${h}" ] || fail "the picture is not ${w}x${h}"
  local r g b
  IFS=, read -r r g b <<<"$(pixel "$shot" $((w - 3)) $((h - 3)))"
  [ "$b" -gt 25 ] || fail "the bottom-right corner of ${w}x${h} is not covered: $r,$g,$b"
  # The moon: design (548, 148), 30 units across.
  local mx=$((548 * w / 800)) my=$((148 * h / 600))
  local moon
  moon=$(mean_brightness "$shot" 16x16+$((mx - 8))+$((my - 8)))
  awk -v m="$moon" 'BEGIN { exit !(m > 0.65) }' || fail "no moon at ($mx,$my) of ${w}x${h}: brightness $moon"
  local texts
  texts=$(count_colour "$shot" "${w}x$((h / 8))+0+$((h - h / 8))" 200 200 255)
  [ "$texts" -gt 100 ] || fail "no time texts near the bottom of ${w}x${h} ($texts pixels)"
}
