#!/usr/bin/env bash
# SIGTERM and SIGINT end the card and the engine's example program promptly
# with status 0, also while the card is still building a sky of 2970 flakes;
# nothing is left behind: no process, no new file in the card's folder.
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS="suppressions=$SOURCE_DIR/tests/e2e/lsan-system-libraries.supp:exitcode=0"
LIMIT=2
grep -q '^GLIMMER_SANITIZE:BOOL=ON' "$BUILD_DIR/CMakeCache.txt" 2>/dev/null && LIMIT=10

# stops_on SIGNAL PID WHAT: sends the signal; the process must end within
# the limit with status 0.
stops_on() {
  local signal=$1 pid=$2 what=$3 i status
  kill -"$signal" "$pid"
  for i in $(seq 1 $((LIMIT * 20))); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$pid" 2>/dev/null && fail "$what still runs ${LIMIT}s after SIG$signal"
  wait "$pid" && status=0 || status=$?
  [ "$status" = 0 ] || fail "$what ended with status $status after SIG$signal: $(head -c 500 "$E2E_TMP/card.err")"
  if grep -qE 'ERROR: AddressSanitizer|Direct leak|runtime error' "$E2E_TMP/card.err"; then
    fail "sanitizer report after SIG$signal: $(head -c 2000 "$E2E_TMP/card.err")"
  fi
  echo "ok: $what ended with status 0 on SIG$signal"
}

start_xvfb 1024x768x24
folder=$(card_folder)
before=$(cd "$folder" && find . | sort)

for signal in TERM INT; do
  start_card "$folder"
  wait_for_window Solvane 60 >/dev/null || fail "no window titled Solvane"
  sleep 1
  stops_on "$signal" "$APP_PID" "the card"
done

# A request that comes while the scene is still being built is honoured as
# soon as the frame loop starts.
printf 'SnowNum 99\nSnowDensity 1.0\n' >>"$folder/solvane.cfg"
before=$(cd "$folder" && find . | sort)
start_card "$folder"
sleep 0.3
stops_on TERM "$APP_PID" "the card building 2970 flakes"
APP_PID=""

after=$(cd "$folder" && find . | sort)
[ "$before" = "$after" ] || fail "the card's folder changed: $(diff <(echo "$before") <(echo "$after"))"
for p in /proc/[0-9]*; do
  [ "$(readlink "$p/cwd" 2>/dev/null)" = "$folder" ] && fail "a process is left behind in the card's folder: $(tr '\0' ' ' <"$p/cmdline")"
done

example="$BUILD_DIR/examples/glimmer-example"
if [ -x "$example" ]; then
  (cd "$E2E_TMP" && exec "$example") >"$E2E_TMP/example.out" 2>"$E2E_TMP/card.err" &
  APP_PID=$!
  wait_for_window Glimmer-Example 60 >/dev/null || fail "the example's window did not appear"
  sleep 1
  stops_on TERM "$APP_PID" "the example program"
  APP_PID=""
fi
