#!/usr/bin/env bash
# Every row of card_bad_input.rows breaks one thing in a copy of the card's
# folder, starts the real card under Xvfb and checks the row's outcome:
#   runs              the card draws frames, keeps running, and a key ends it
#                     with status 0 and no message on standard error;
#   runs saying TEXT  the same, with TEXT (a fixed string) on standard error;
#   ends N TEXT       it ends by itself with status N within the time limit,
#                     TEXT (a fixed string) on standard error.
# In a sanitizer build no row may leave a sanitizer report. ROWS=pattern runs
# only the rows whose name matches.
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

TABLE=${TABLE:-$SOURCE_DIR/tests/e2e/card_bad_input.rows}
[ -x "$BUILD_DIR/solvane/solvanewin" ] || fail "the card is not built: $BUILD_DIR/solvane/solvanewin"

# Limits in seconds: to end, to show a window, and how long a running card
# must keep running before the key. A sanitizer build is several times slower.
END_LIMIT=5
WINDOW_LIMIT=10
KEEPS_RUNNING=1
if grep -q '^GLIMMER_SANITIZE:BOOL=ON' "$BUILD_DIR/CMakeCache.txt" 2>/dev/null; then
  END_LIMIT=20
  WINDOW_LIMIT=30
fi
# SDL picks its video driver by probing, and now and then settles on one
# without a window under Xvfb; naming X11 keeps every row on the display. The
# engine never plays sound, so the machine's audio set-up is left out too.
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
# Leaks of the system libraries are suppressed, and a sanitizer build is
# judged by its report rather than its status (see the suppression file).
export LSAN_OPTIONS="suppressions=$SOURCE_DIR/tests/e2e/lsan-system-libraries.supp:exitcode=0"

# --- Ways to break a file; each runs inside the folder copy. ---------------

# Bytes from a fixed seed, so that every run breaks a file the same way.
garbage_bytes() { perl -e 'srand($ARGV[1]); print map { chr(int(rand(256))) } 1 .. $ARGV[0]' "$1" "${2:-7}"; }

missing() { rm -f "$1"; }
empty() { : >"$1"; }
truncated() { truncate -s $(($(stat -c %s "$1") / 2)) "$1"; }
garbage() { garbage_bytes 4096 >"$1"; }
# setting KEY VALUE: the setting, appended to solvane.cfg, where the last one wins.
setting() { printf '%s %s\n' "$1" "$2" >>solvane.cfg; }
# text LINE...: the greeting text, one argument a line.
text() { printf '%s\n' "$@" >data/txt/txt.txt; }
# fonts LINE...: the font configuration file, one argument a line.
fonts() { printf '%s\n' "$@" >data/fonts.cfg; }
# sprite FILE TEXT: the content of a sprite file.
sprite() { printf '%s\n' "$2" >"$1"; }
# huge_bmp FILE W H: a 24-bit BMP header that promises W x H pixels, with
# none of them behind it.
huge_bmp() {
  perl -e 'my ($w, $h) = @ARGV; my $row = ($w * 3 + 3) & ~3;
    print "BM", pack("VvvV", 54 + $row * $h, 0, 0, 54), pack("VVVvvVVVVVV", 40, $w, $h, 1, 24, 0, $row * $h, 2835, 2835, 0, 0),
      "\0" x 64' "$2" "$3" >"$1"
}
# huge_png FILE W H: a PNG whose header promises W x H pixels and whose data
# holds a few rows.
huge_png() {
  perl -MCompress::Zlib -e 'my ($w, $h) = @ARGV;
    sub chunk { my ($t, $d) = @_; pack("N", length $d) . $t . $d . pack("N", crc32($t . $d)) }
    print "\x89PNG\r\n\x1a\n", chunk("IHDR", pack("NNCCCCC", $w, $h, 8, 6, 0, 0, 0)),
      chunk("IDAT", compress("\0" x 1000)), chunk("IEND", "")' "$2" "$3" >"$1"
}

# --- One row. ----------------------------------------------------------------

sanitizer_report() { grep -E 'ERROR: AddressSanitizer|Direct leak|runtime error' "$1" | head -n 3; }

# ended_within PID SECONDS: whether the process ended within the time.
ended_within() {
  local i
  for i in $(seq 1 $(($2 * 20))); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.05
  done
  return 1
}

# window_of PID: the card's window, once it shows; fails when the card ends
# first or shows none within the limit.
window_of() {
  local pid=$1 i id
  for i in $(seq 1 $((WINDOW_LIMIT * 10))); do
    id=$(xdotool search --onlyvisible --name Solvane 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# ends_by_key PID WINDOW: presses a key every quarter second until the card
# ends (it keeps every event until its first frame is on screen).
ends_by_key() {
  local pid=$1 win=$2 i
  for i in $(seq 1 $((END_LIMIT * 4))); do
    kill -0 "$pid" 2>/dev/null || return 0
    xdotool windowfocus --sync "$win" key --clearmodifiers space 2>/dev/null || true
    sleep 0.25
  done
  ! kill -0 "$pid" 2>/dev/null
}

# run_row NAME HOW EXPECTED: prints nothing on success, the reason otherwise.
run_row() {
  local name=$1 how=$2 expected=$3 dir="$E2E_TMP/rows/$1" status win report
  rm -rf "$dir"
  cp -r "$BUILD_DIR/solvane" "$dir"
  (cd "$dir" && eval "$how") || { echo "cannot break the folder: $how"; return; }
  (cd "$dir" && exec ./solvanewin) >"$dir.out" 2>"$dir.err" &
  APP_PID=$!

  case $expected in
  runs | runs\ saying\ *)
    if ! win=$(window_of "$APP_PID"); then
      kill -0 "$APP_PID" 2>/dev/null && kill -9 "$APP_PID"
      wait "$APP_PID" 2>/dev/null && status=0 || status=$?
      echo "no window; status $status: $(head -c 300 "$dir.err")"
      return
    fi
    sleep "$KEEPS_RUNNING"
    if ! kill -0 "$APP_PID" 2>/dev/null; then
      wait "$APP_PID" && status=0 || status=$?
      echo "ended by itself with status $status: $(head -c 300 "$dir.err")"
      return
    fi
    if ! ends_by_key "$APP_PID" "$win"; then
      kill -9 "$APP_PID"
      wait "$APP_PID" 2>/dev/null || true
      echo "still running ${END_LIMIT}s after the first key"
      return
    fi
    wait "$APP_PID" && status=0 || status=$?
    [ "$status" = 0 ] || { echo "status $status after the key: $(head -c 300 "$dir.err")"; return; }
    ! grep -q 'INFO MESSAGE' "$dir.err" || { echo "a message on standard error: $(head -c 300 "$dir.err")"; return; }
    if [ "$expected" != runs ]; then
      local said=${expected#runs saying }
      grep -qF -- "$said" "$dir.err" || { echo "no \"$said\" on standard error: $(head -c 300 "$dir.err")"; return; }
    fi
    ;;
  ends\ *)
    local code=${expected#ends }
    local message=${code#* }
    code=${code%% *}
    if ! ended_within "$APP_PID" "$END_LIMIT"; then
      kill -9 "$APP_PID"
      wait "$APP_PID" 2>/dev/null || true
      echo "still running after ${END_LIMIT}s: $(head -c 300 "$dir.err")"
      return
    fi
    wait "$APP_PID" && status=0 || status=$?
    [ "$status" = "$code" ] || { echo "status $status instead of $code: $(head -c 300 "$dir.err")"; return; }
    grep -qF -- "$message" "$dir.err" || { echo "no \"$message\" on standard error: $(head -c 300 "$dir.err")"; return; }
    ;;
  *)
    echo "unknown outcome \"$expected\""
    return
    ;;
  esac
  APP_PID=""
  report=$(sanitizer_report "$dir.err")
  [ -z "$report" ] || echo "sanitizer report: $report"
}

trim() { local s=$1; s=${s#"${s%%[![:space:]]*}"}; echo "${s%"${s##*[![:space:]]}"}"; }

start_xvfb 1024x768x24
mkdir -p "$E2E_TMP/rows"
failed=0
passed=0
while IFS='|' read -r name how expected; do
  name=$(trim "$name")
  [ -z "$name" ] || [ "${name:0:1}" = "#" ] && continue
  [[ $name =~ ${ROWS:-.} ]] || continue
  how=$(trim "$how")
  expected=$(trim "$expected")
  started=$(date +%s.%N)
  problem=$(run_row "$name" "$how" "$expected")
  took=$(printf '%.1f' "$(echo "$(date +%s.%N) - $started" | bc)")
  if [ -z "$problem" ]; then
    passed=$((passed + 1))
    printf 'ok    %-28s %-40s %ss\n' "$name" "$expected" "$took"
  else
    failed=$((failed + 1))
    printf 'FAIL  %-28s %-40s %ss: %s\n' "$name" "$expected" "$took" "$problem"
  fi
done <"$TABLE"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ] && [ "$passed" -gt 0 ]
