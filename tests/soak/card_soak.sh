#!/usr/bin/env bash
# Soak: the card with 2970 flakes under Xvfb for SOAK_SECONDS (600). Passes
# when resident memory grows by less than 1 MB after the first minute and the
# frames keep the timer's pace (one per 30 ms) in every minute; prints the
# figures. Needs BUILD_DIR (with the card and cardsoak built) and SOURCE_DIR.
source "$SOURCE_DIR/tests/e2e/lib.sh"

SOAK_SECONDS=${SOAK_SECONDS:-600}
SAMPLE=10
SOAK="$BUILD_DIR/tests/soak/cardsoak"
[ -x "$SOAK" ] || fail "the soak program is not built: $SOAK"
[ -x "$BUILD_DIR/solvane/solvanewin" ] || fail "the card is not built: $BUILD_DIR/solvane/solvanewin"
[ "$SOAK_SECONDS" -ge 120 ] || fail "SOAK_SECONDS must be at least 120"

folder="$E2E_TMP/card"
cp -r "$BUILD_DIR/solvane" "$folder"
cp "$SOAK" "$folder/"
# 99 x 1.0 x 600 / 20 = 2970 flakes, close to the 2991 the card's window holds.
printf 'SnowNum 99\nSnowDensity 1.0\n' >>"$folder/solvane.cfg"

export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
start_xvfb 1024x768x24
(cd "$folder" && exec ./cardsoak) >"$E2E_TMP/frames.txt" 2>"$E2E_TMP/err.txt" &
APP_PID=$!

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
last_frames() { tail -n 1 "$E2E_TMP/frames.txt" | awk '{ print $2, $4 }'; }

for i in $(seq 1 600); do [ -s "$E2E_TMP/frames.txt" ] && break; sleep 0.1; done
[ -s "$E2E_TMP/frames.txt" ] || fail "no frames within a minute: $(cat "$E2E_TMP/err.txt")"

echo "  seconds   RSS kB    frames  frame ms"
samples="$E2E_TMP/samples.txt"
: >"$samples"
start=$(date +%s)
while :; do
  sleep "$SAMPLE"
  kill -0 "$APP_PID" 2>/dev/null || fail "the card ended after $(($(date +%s) - start)) s: $(cat "$E2E_TMP/err.txt")"
  t=$(($(date +%s) - start))
  read -r frames ms <<<"$(last_frames)"
  rss=$(rss_kb "$APP_PID")
  echo "$t $rss $frames $ms" >>"$samples"
  printf '%9s %8s %9s %9s\n' "$t" "$rss" "$frames" "$ms"
  [ "$t" -lt "$SOAK_SECONDS" ] || break
done

kill -TERM "$APP_PID"
for i in $(seq 1 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.05; done
kill -0 "$APP_PID" 2>/dev/null && fail "SIGTERM did not end the card within 5 s"
wait "$APP_PID" && status=0 || status=$?
APP_PID=""
[ "$status" = 0 ] || fail "the card ended with status $status after SIGTERM"

# Memory: the first sample at or after one minute is the base.
read -r base_t base_rss <<<"$(awk '$1 >= 60 { print $1, $2; exit }' "$samples")"
read -r max_rss last_rss <<<"$(awk -v b="$base_t" '$1 >= b { if ($2 > m) m = $2; l = $2 } END { print m, l }' "$samples")"
growth=$((max_rss - base_rss))

# Pace: frames per whole minute, from the frame counts sampled nearest to
# each minute mark; the timer asks for 2000 a minute.
pace=$(awk '{ f[NR] = $3; m[NR] = $4 } END {
    n = NR; total_rate = f[n] / (m[n] / 1000);
    printf "overall %.2f frames/s (timer: 33.33)\n", total_rate;
    lo = 1e9; j = 1;
    for (i = 1; i <= n; i++) if (m[i] - m[j] >= 60000) {
      r = (f[i] - f[j]) / (m[i] - m[j]) * 60000; if (r < lo) lo = r;
      printf "minute to %4d s: %4d frames\n", m[i] / 1000, r; j = i }
    printf "slowest minute %d frames\n", lo }' "$samples")
echo "$pace"
echo "resident memory: ${base_rss} kB at ${base_t} s, at most ${max_rss} kB after it, ${last_rss} kB at the end: growth ${growth} kB"
slowest=$(echo "$pace" | awk '/slowest minute/ { print $3 }')
overall=$(echo "$pace" | awk '/overall/ { print $2 }')

[ "$growth" -lt 1024 ] || fail "resident memory grew by $growth kB after the first minute"
[ "$slowest" -ge 1800 ] || fail "a minute drew only $slowest frames; the timer asks for 2000"
awk -v r="$overall" 'BEGIN { exit !(r >= 31.6) }' || fail "overall $overall frames/s; the timer asks for 33.33"
grep -qE 'ERROR: AddressSanitizer|runtime error' "$E2E_TMP/err.txt" && fail "sanitizer report: $(head -c 500 "$E2E_TMP/err.txt")"
echo "soak passed: ${SOAK_SECONDS} s, 2970 flakes"
