#!/usr/bin/env bash
# A night in one run: SOAK_FRAMES (1,000,000) frames of the shipped card back
# to back under the dummy video driver, its clock one second further every 33
# frames (cardsoak night). Passes when resident memory grows by less than 1 MB
# after the first 100,000 frames and the frame time of the last 50,000 frames
# is at most 10% above that of frames 10,000 to 60,000 (a night that ends
# faster than it began has lost nothing; a shared machine makes either end
# vary by more than that in both directions): each the median of five
# 10,000-frame medians of the drawing thread's processor time, which other
# work on a shared machine hardly moves (wall times are printed beside). Needs BUILD_DIR (with the card and cardsoak built) and
# SOURCE_DIR.
source "$SOURCE_DIR/tests/e2e/lib.sh"

SOAK_FRAMES=${SOAK_FRAMES:-1000000}
SOAK="$BUILD_DIR/tests/soak/cardsoak"
[ -x "$SOAK" ] || fail "the soak program is not built: $SOAK"
[ -x "$BUILD_DIR/solvane/solvanewin" ] || fail "the card is not built: $BUILD_DIR/solvane/solvanewin"
[[ "$SOAK_FRAMES" =~ ^[0-9]+$ ]] && [ "$SOAK_FRAMES" -ge 200000 ] || fail "SOAK_FRAMES must be a number of at least 200000"

folder="$E2E_TMP/card"
cp -r "$BUILD_DIR/solvane" "$folder"
cp "$SOAK" "$folder/"
figures="$E2E_TMP/night.txt"

started=$(date +%s)
# No display holds this one: it ends with this shell, even by SIGKILL.
(cd "$folder" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy exec setpriv --pdeathsig TERM ./cardsoak night "$SOAK_FRAMES") \
  >"$figures" 2>"$E2E_TMP/err.txt" &
APP_PID=$!
echo "   frames   RSS kB  median ms   mean ms   CPU ms"
shown=0
while kill -0 "$APP_PID" 2>/dev/null; do
  sleep 10
  total=$(wc -l <"$figures")
  [ "$total" -gt "$shown" ] && awk -v from="$shown" 'NR > from && NR % 10 == 0 { printf "%9d %8d %10s %9s %8s\n", $2, $4, $6, $8, $10 }' "$figures"
  shown=$total
done
wait "$APP_PID" && status=0 || status=$?
APP_PID=""
seconds=$(($(date +%s) - started))
[ "$status" = 0 ] || fail "cardsoak ended with status $status: $(tail -c 500 "$E2E_TMP/err.txt")"
last=$(awk 'END { print $2 }' "$figures")
[ "$last" = "$SOAK_FRAMES" ] || fail "the night stopped after $last of $SOAK_FRAMES frames"

read -r base max end_rss <<<"$(awk '$2 >= 100000 { if (!b) b = $4; if ($4 > m) m = $4; e = $4 } END { print b, m, e }' "$figures")"
growth=$((max - base))
# median5 FIELD FIRST_LINE LAST_LINE: the median of a block figure over those lines.
median5() { sed -n "$2,$3p" "$figures" | awk -v f="$1" '{ print $f }' | sort -g | sed -n 3p; }
lines=$(wc -l <"$figures")
start_ms=$(median5 10 2 6)
end_ms=$(median5 10 $((lines - 4)) "$lines")
start_wall=$(median5 6 2 6)
end_wall=$(median5 6 $((lines - 4)) "$lines")
ratio=$(awk -v s="$start_ms" -v e="$end_ms" 'BEGIN { printf "%.3f", e / s }')

echo "night: $SOAK_FRAMES frames in $seconds s ($(awk -v f="$SOAK_FRAMES" -v s="$seconds" 'BEGIN { printf "%.0f", f / (s > 0 ? s : 1) }') frames/s)"
echo "resident memory: ${base} kB after 100000 frames, at most ${max} kB after it, ${end_rss} kB at the end: growth ${growth} kB"
echo "frame time (processor): ${start_ms} ms at the start, ${end_ms} ms at the end: ratio ${ratio}"
echo "frame time (wall): ${start_wall} ms at the start, ${end_wall} ms at the end"
[ "$growth" -lt 1024 ] || fail "resident memory grew by $growth kB after the first 100000 frames"
awk -v r="$ratio" 'BEGIN { exit !(r <= 1.1) }' || fail "the frame time at the end is ${ratio} times that at the start"
grep -qE 'ERROR: AddressSanitizer|runtime error' "$E2E_TMP/err.txt" && fail "sanitizer report: $(head -c 500 "$E2E_TMP/err.txt")"
echo "night passed: $SOAK_FRAMES frames"
