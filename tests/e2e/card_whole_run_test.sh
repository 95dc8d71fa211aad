#!/usr/bin/env bash
# The whole card: start, 10 s of snow, a key. It must end with status 0 and
# nothing on standard error but, in a sanitizer build, LeakSanitizer's list of
# the suppressions it used: no sanitizer report and no leak of the engine's or
# the card's memory (leaks inside system libraries are suppressed, see the
# suppression file).
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$SOURCE_DIR/tests/e2e/lsan-system-libraries.supp:exitcode=0"

folder=$(card_folder)
start_xvfb 1024x768x24
start_card "$folder"
win=$(wait_for_window Solvane 60) || fail "no window titled Solvane: $(cat "$E2E_TMP/card.err")"
sleep 10
kill -0 "$APP_PID" 2>/dev/null || fail "the card ended during the snow: $(cat "$E2E_TMP/card.err")"
for i in $(seq 1 80); do
  kill -0 "$APP_PID" 2>/dev/null || break
  xdotool windowfocus --sync "$win" key --clearmodifiers space 2>/dev/null || true
  sleep 0.25
done
kill -0 "$APP_PID" 2>/dev/null && fail "the card still runs 20 s after the first key"
wait "$APP_PID" && status=0 || status=$?
APP_PID=""
[ "$status" = 0 ] || fail "status $status: $(head -c 2000 "$E2E_TMP/card.err")"
if grep -qE 'ERROR: AddressSanitizer|Direct leak|Indirect leak|runtime error|INFO MESSAGE' "$E2E_TMP/card.err"; then
  fail "report on standard error: $(head -c 3000 "$E2E_TMP/card.err")"
fi
echo "ok: 10 s of snow, ended by a key with status 0, no report"
