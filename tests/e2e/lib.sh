# Shared helpers for the end-to-end tests: sourced, not run.
# Each test starts its own Xvfb on a free display and drives the real program.

set -euo pipefail

: "${BUILD_DIR:?BUILD_DIR must name the build folder}"
: "${SOURCE_DIR:?SOURCE_DIR must name the source folder}"

E2E_TMP=$(mktemp -d /tmp/glimmer-e2e-XXXXXX)
XVFB_PID=""
APP_PID=""
# Other processes a test starts (helper windows and the like): ended with the
# program under test on every way out.
HELPER_PIDS=()

e2e_cleanup() {
  local pid
  for pid in "$APP_PID" "${HELPER_PIDS[@]}"; do
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  done
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT
# Bash skips the EXIT trap when a signal it does not catch ends it; caught,
# the signal ends the test through it.
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

fail() { echo "FAIL: $*" >&2; exit 1; }

# start_xvfb [WxHxD]: starts Xvfb on the first free display and exports DISPLAY.
start_xvfb() {
  local screen=${1:-1024x768x24}
  local n
  for n in $(seq 90 190); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
      # Should this shell die by SIGKILL, its Xvfb ends too, and with it
      # every program drawing on it.
      setpriv --pdeathsig TERM Xvfb ":$n" -screen 0 "$screen" -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
      XVFB_PID=$!
      local i
      for i in $(seq 1 50); do
        if xdpyinfo -display ":$n" >/dev/null 2>&1; then
          export DISPLAY=":$n"
          # Left to probe, SDL now and then settles on a driver without a
          # window here (about one start in fifty); the tests want the display.
          export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-x11}
          return 0
        fi
        if ! kill -0 "$XVFB_PID" 2>/dev/null; then break; fi
        sleep 0.1
      done
      kill "$XVFB_PID" 2>/dev/null || true
      wait "$XVFB_PID" 2>/dev/null || true
      XVFB_PID=""
    fi
  done
  fail "no free X display"
}

# wait_for_window NAME [seconds]: prints the id of the first visible window whose
# title matches NAME.
wait_for_window() {
  local name=$1 limit=${2:-20} id i
  for i in $(seq 1 $((limit * 10))); do
    id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

# screenshot FILE [window]: the whole screen (or one window) as a picture file.
screenshot() {
  import -window "${2:-root}" "$1"
}

# pixel FILE X Y: prints the pixel as "r,g,b" (0..255 each).
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# wait_exit PID SECONDS: waits for the process to end; prints its status and
# leaves it in WAIT_STATUS. Fails when it is still running after the given
# time. Call it in this shell (redirect its output), not inside $(...): a
# subshell cannot wait for this shell's children.
wait_exit() {
  local pid=$1 limit=$2 i
  for i in $(seq 1 $((limit * 20))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      local status=0
      wait "$pid" || status=$?
      WAIT_STATUS=$status
      echo "$status"
      return 0
    fi
    sleep 0.05
  done
  return 1
}
