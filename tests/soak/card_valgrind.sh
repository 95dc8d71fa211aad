#!/usr/bin/env bash
# The whole card under valgrind's memcheck: start, 10 s of snow, a key. Passes
# when memcheck reports no error and no block lost for good (definitely or
# indirectly) outside tests/valgrind.supp, and the card ends with status 0.
# Needs BUILD_DIR (with the card built) and SOURCE_DIR; prints memcheck's summary.
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

command -v valgrind >/dev/null || fail "valgrind is not installed (scripts/install-deps)"
folder=$(card_folder)
log="$E2E_TMP/valgrind.log"
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
start_xvfb 1024x768x24
(cd "$folder" && exec valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
  --errors-for-leak-kinds=definite,indirect --error-exitcode=99 --num-callers=30 \
  --suppressions="$SOURCE_DIR/tests/valgrind.supp" --gen-suppressions=all --log-file="$log" \
  ./solvanewin) >"$E2E_TMP/card.out" 2>"$E2E_TMP/card.err" &
APP_PID=$!

win=$(wait_for_window Solvane 300) || fail "no window within 300 s: $(tail -n 20 "$log")"
sleep 10
kill -0 "$APP_PID" 2>/dev/null || fail "the card ended during the snow: $(tail -n 20 "$log")"
# Keys until the card ends; memcheck's leak search at exit takes a while.
for i in $(seq 1 600); do
  kill -0 "$APP_PID" 2>/dev/null || break
  [ $((i % 4)) = 1 ] && { xdotool windowfocus --sync "$win" key --clearmodifiers space 2>/dev/null || true; }
  sleep 0.25
done
kill -0 "$APP_PID" 2>/dev/null && fail "the card still runs 150 s after the first key: $(tail -n 30 "$log")"
wait "$APP_PID" && status=0 || status=$?
APP_PID=""

grep -E 'ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable|suppressed:' "$log" | sed 's/^==[0-9]*== //'
[ "$status" = 0 ] || fail "status $status (99: memcheck found errors); see the log above: $(grep -A 30 -m 3 -E 'Invalid|uninitialised|definitely lost in|indirectly lost in' "$log" | head -n 120)"
grep -q 'ERROR SUMMARY: 0 errors' "$log" || fail "memcheck errors: $(head -n 200 "$log")"
echo "valgrind: no errors, nothing lost"
