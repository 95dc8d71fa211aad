#!/usr/bin/env bash
# The card's figures, printed as the last seven lines:
#   bench: frame_ms flakes=N size=WxH <median ms of one frame, dummy video>
#   bench: build_ms flakes=2970 size=800x600 <median of 5 start-ups, ms>
#   bench: cpu_share flakes=N size=800x600 <CPU of card + Xvfb / wall time>
#   bench: overhead_ratio flakes=N size=800x600 <the card's own CPU per frame
#          under Xvfb / its frame_ms>, at 1000 / 30 frames a second (the
#          engine's frame interval; the card keeps up with it)
#   bench: peak_rss_mb flakes=2970 size=800x600 <VmHWM of the card, MB>
#   bench: cpu_share_peer flakes=N size=1024x768 <CPU of xsnow + Xvfb / wall time>
#   bench: cpu_ratio flakes=N size=800x600 <the card's cpu_share / the peer's>
#   bench: windows_cpu_share flakes=300 size=800x600 <the Windows card under
#          wine: its processes, wine's server and Xvfb / wall time>, when
#          WINDOWS_ZIP names the zip of `make windows` and wine is installed
# Every run uses a copy of the built card folder with SnowNum, SnowDensity,
# Width and Height changed in its solvane.cfg.
#
# usage: bench/card/run.sh BUILD_DIR
# FRAMES (default 300) and WARMUP (default 30) set the timed and the untimed
# frames; CPU_WARMUP (4) and CPU_SECONDS (10) the CPU runs under Xvfb. Each
# frame figure is the lowest of FRAME_RUNS (3) medians, each from a fresh
# process: on a machine shared with other work a single run can be slowed by
# a third, and the lowest of a few comes closest to the card's own cost (all
# are printed).
#
# The peer is Debian's xsnow (bench/install-peer installs it), snow only, on the
# root window of its own Xvfb of the same kind, for the same seconds, with
# 300 and 3000 flakes at most, made at twice that many a second: enough to
# keep the count there after the warm-up, while a far higher rate costs xsnow
# itself much more (0.50 instead of 0.18 of a core at 3000) for the same
# picture. The card's 2970-flake share is set against its 3000.
#
# The detail lines also give each frame figure with a 30 ms pause before every
# timed frame (PAUSED_FRAMES=0 leaves them out): what the same frames cost
# once the machine's caches have lost them between frames, as in the card.
#
# The flakes start above the screen and take some 600 frames to fill it, so
# 30 frames in only a part of them is on screen. The detail lines before the
# figures also give the 2970-flake frame after STEADY_WARMUP (1500) frames,
# with the sky full of snow; STEADY_CPU=1 adds a CPU run after 45 s.
set -euo pipefail

BUILD=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
HARNESS=$BUILD/bench/card_frame_harness
CARD_FOLDER=$BUILD/solvane
FRAMES=${FRAMES:-300}
WARMUP=${WARMUP:-30}
FRAME_RUNS=${FRAME_RUNS:-3}
CPU_WARMUP=${CPU_WARMUP:-4}
CPU_SECONDS=${CPU_SECONDS:-10}
STEADY_WARMUP=${STEADY_WARMUP:-1500}
STEADY_CPU=${STEADY_CPU:-0}
PAUSED_FRAMES=${PAUSED_FRAMES:-1}

[ -x "$HARNESS" ] || { echo "run.sh: $HARNESS is not built" >&2; exit 1; }
[ -x "$CARD_FOLDER/solvanewin" ] || { echo "run.sh: $CARD_FOLDER/solvanewin is not built" >&2; exit 1; }
XSNOW=$(command -v xsnow || echo /usr/games/xsnow)
[ -x "$XSNOW" ] || { echo "run.sh: xsnow is not installed (bench/install-peer installs it)" >&2; exit 1; }

WORK=$(mktemp -d /tmp/solvane-bench-XXXXXX)
XVFB_PID=""
CARD_PID=""
cleanup() {
  if [ -n "$CARD_PID" ] && kill -0 "$CARD_PID" 2>/dev/null; then kill -9 "$CARD_PID" 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT
# Bash skips the EXIT trap when a signal it does not catch ends it.
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# folder FLAKES WIDTH HEIGHT: a copy of the card folder asking for exactly
# FLAKES flakes on that screen; prints its path. The flake count is
# SnowNum x SnowDensity x Height / 20, so the density is 20 / Height and
# SnowNum the count. Both heights used here make that density exact in binary
# (600 through SnowNum 99 / density 1.0).
folder() {
  local flakes=$1 width=$2 height=$3 num density
  local dir=$WORK/card-$flakes-${width}x$height
  if [ ! -d "$dir" ]; then
    cp -r "$CARD_FOLDER" "$dir"
    if [ "$height" = 600 ] && [ $((flakes % 30)) = 0 ]; then
      num=$((flakes / 30)); density=1.0
    else
      num=$flakes; density=$(awk -v h="$height" 'BEGIN { printf "%.17g", 20 / h }')
    fi
    sed -i -E -e "s/^SnowNum .*/SnowNum $num/" -e "s/^SnowDensity .*/SnowDensity $density/" \
      -e "s/^Width .*/Width $width/" -e "s/^Height .*/Height $height/" "$dir/solvane.cfg"
  fi
  echo "$dir"
}

# harness DIR ARGS...: runs the harness in DIR under the dummy video driver.
harness() {
  local dir=$1
  shift
  (cd "$dir" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$HARNESS" "$@")
}

check_flakes() {
  local expected=$1 output=$2 got
  got=$(awk '$1 == "flakes" { print $2 }' <<<"$output")
  [ "$got" = "$expected" ] || { echo "run.sh: scene holds $got flakes, not $expected" >&2; exit 1; }
}

RESULTS=()

# frame_ms FLAKES WIDTH HEIGHT [WARMUP]: with a warm-up of its own the figure
# is only shown, not kept for the last lines.
frame_ms() {
  local flakes=$1 width=$2 height=$3 warmup=${4:-$WARMUP} dir out medians=()
  dir=$(folder "$flakes" "$width" "$height")
  for _ in $(seq 1 "$FRAME_RUNS"); do
    out=$(harness "$dir" frames "$warmup" "$FRAMES")
    check_flakes "$flakes" "$out"
    echo "frames  flakes=$flakes size=${width}x$height after $warmup frames: $(grep '^frame_ms' <<<"$out")"
    medians+=("$(awk '$1 == "frame_ms" { print $2 }' <<<"$out")")
  done
  [ -n "${4:-}" ] && return 0
  RESULTS+=("bench: frame_ms flakes=$flakes size=${width}x$height $(printf '%s\n' "${medians[@]}" | sort -g | head -n 1)")
}

build_ms() {
  local flakes=$1 width=$2 height=$3 dir out all=()
  dir=$(folder "$flakes" "$width" "$height")
  for _ in 1 2 3 4 5; do
    out=$(harness "$dir" build)
    check_flakes "$flakes" "$out"
    all+=("$(awk '$1 == "build_ms" { print $2 }' <<<"$out")")
  done
  echo "start-ups flakes=$flakes size=${width}x$height: ${all[*]} ms"
  RESULTS+=("bench: build_ms flakes=$flakes size=${width}x$height $(printf '%s\n' "${all[@]}" | sort -g | sed -n 3p)")
}

start_xvfb() {
  local n
  for n in $(seq 120 220); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
      # Ends with this shell even when it is killed outright, and whatever
      # draws on it with it.
      setpriv --pdeathsig TERM Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
      XVFB_PID=$!
      for _ in $(seq 1 50); do
        if xdpyinfo -display ":$n" >/dev/null 2>&1; then
          export DISPLAY=":$n"
          return 0
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
      done
      kill "$XVFB_PID" 2>/dev/null || true
      wait "$XVFB_PID" 2>/dev/null || true
      XVFB_PID=""
    fi
  done
  echo "run.sh: no free X display" >&2
  exit 1
}

# CPU ticks (user + system) a process has used so far.
ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
now_ns() { date +%s%N; }

# cpu_share FLAKES [rss|show [WARMUP]]: the real card in its folder copy under
# a fresh Xvfb; "rss" also keeps its peak memory, "show" keeps nothing.
cpu_share() {
  local flakes=$1 mode=${2:-} warmup=${3:-$CPU_WARMUP} dir hz card0 x0 t0 card1 x1 t1 share rss window frame per_frame
  dir=$(folder "$flakes" 800 600)
  hz=$(getconf CLK_TCK)
  start_xvfb
  (cd "$dir" && SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy exec ./solvanewin </dev/null >"$WORK/card.log" 2>&1) &
  CARD_PID=$!
  sleep "$warmup"
  kill -0 "$CARD_PID" 2>/dev/null || { echo "run.sh: the card ended during warm-up" >&2; cat "$WORK/card.log" >&2; exit 1; }
  card0=$(ticks "$CARD_PID"); x0=$(ticks "$XVFB_PID"); t0=$(now_ns)
  sleep "$CPU_SECONDS"
  card1=$(ticks "$CARD_PID"); x1=$(ticks "$XVFB_PID"); t1=$(now_ns)
  rss=$(awk '$1 == "VmHWM:" { print $2 }' "/proc/$CARD_PID/status")
  share=$(awk -v c=$((card1 - card0)) -v x=$((x1 - x0)) -v hz="$hz" -v ns=$((t1 - t0)) \
    'BEGIN { printf "%.3f", (c + x) / hz / (ns / 1e9) }')
  echo "cpu     flakes=$flakes size=800x600 after ${warmup} s: card $(((card1 - card0) * 1000 / hz)) ms," \
    "Xvfb $(((x1 - x0) * 1000 / hz)) ms in $(((t1 - t0) / 1000000)) ms: $share; VmHWM $rss kB"
  if [ "$mode" != show ]; then
    RESULTS+=("bench: cpu_share flakes=$flakes size=800x600 $share")
    frame=$(printf '%s\n' "${RESULTS[@]}" | awk -v f="flakes=$flakes" '$2 == "frame_ms" && $3 == f && $4 == "size=800x600" { print $5 }')
    per_frame=$(awk -v c=$((card1 - card0)) -v hz="$hz" -v ns=$((t1 - t0)) 'BEGIN { printf "%.3f", c / hz * 1000 / (ns / 1e9 * 1000 / 30) }')
    echo "        the card's own CPU per frame: $per_frame ms, its frame: ${frame:-?} ms"
    [ -n "$frame" ] && RESULTS+=("bench: overhead_ratio flakes=$flakes size=800x600 $(awk -v c="$per_frame" -v f="$frame" 'BEGIN { printf "%.2f", c / f }')")
    [ "$mode" = rss ] && RESULTS+=("bench: peak_rss_mb flakes=$flakes size=800x600 $(awk -v k="$rss" 'BEGIN { printf "%.1f", k / 1024 }')")
  fi

  # Any key ends the card once its first frame is up; a card that does not
  # react is stopped all the same.
  window=$(xdotool search --onlyvisible --name Solvane 2>/dev/null | head -n 1 || true)
  if [ -n "$window" ]; then
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key --window "$window" space 2>/dev/null || true
  fi
  for _ in $(seq 1 40); do kill -0 "$CARD_PID" 2>/dev/null || break; sleep 0.05; done
  if kill -0 "$CARD_PID" 2>/dev/null; then
    echo "run.sh: the card ignored the key; ending it" >&2
    kill -TERM "$CARD_PID" 2>/dev/null || true
    for _ in $(seq 1 40); do kill -0 "$CARD_PID" 2>/dev/null || break; sleep 0.05; done
    kill -9 "$CARD_PID" 2>/dev/null || true
  fi
  wait "$CARD_PID" 2>/dev/null || true
  CARD_PID=""
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
}

frame_ms 300 800 600
frame_ms 2970 800 600
frame_ms 2970 1280 1024
frame_ms 2970 800 600 "$STEADY_WARMUP"
build_ms 2970 800 600
if [ "$PAUSED_FRAMES" = 1 ]; then
  for flakes in 300 2970; do
    out=$(harness "$(folder "$flakes" 800 600)" frames "$WARMUP" "$FRAMES" 30)
    echo "paused  flakes=$flakes size=800x600 after $WARMUP frames, 30 ms before each: $(grep '^frame_ms' <<<"$out")"
  done
fi
cpu_share 300
cpu_share 2970 rss
[ "$STEADY_CPU" = 1 ] && cpu_share 2970 show 45

# peer_share FLAKES: xsnow's CPU share with its Xvfb, left in PEER_SHARE. It
# runs in this shell, never in $(...): a subshell's Xvfb escapes the cleanup.
PEER_SHARE=""
peer_share() {
  local flakes=$1 hz p0 x0 t0 p1 x1 t1 share peer_pid
  hz=$(getconf CLK_TCK)
  start_xvfb
  mkdir -p "$WORK/peer-home"
  HOME="$WORK/peer-home" "$XSNOW" -noconfig -nomenu -root -nosanta -norudolph -notrees -nowind -nometeors \
    -stars 0 -moon 0 -aurora 0 -showbirds 0 -nokeepsnow -noblowsnow \
    -flakecountmax "$flakes" -snowflakes $((flakes * 2)) </dev/null >"$WORK/peer.log" 2>&1 &
  peer_pid=$!
  CARD_PID=$peer_pid
  sleep "$CPU_WARMUP"
  kill -0 "$peer_pid" 2>/dev/null || { echo "run.sh: xsnow ended during warm-up" >&2; cat "$WORK/peer.log" >&2; exit 1; }
  p0=$(ticks "$peer_pid"); x0=$(ticks "$XVFB_PID"); t0=$(now_ns)
  sleep "$CPU_SECONDS"
  p1=$(ticks "$peer_pid"); x1=$(ticks "$XVFB_PID"); t1=$(now_ns)
  share=$(awk -v c=$((p1 - p0)) -v x=$((x1 - x0)) -v hz="$hz" -v ns=$((t1 - t0)) \
    'BEGIN { printf "%.3f", (c + x) / hz / (ns / 1e9) }')
  echo "peer    flakes=$flakes size=1024x768 after ${CPU_WARMUP} s: xsnow $(((p1 - p0) * 1000 / hz)) ms," \
    "Xvfb $(((x1 - x0) * 1000 / hz)) ms in $(((t1 - t0) / 1000000)) ms: $share"
  kill -TERM "$peer_pid" 2>/dev/null || true
  wait "$peer_pid" 2>/dev/null || true
  CARD_PID=""
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
  PEER_SHARE=$share
}

# ratio CARD_FLAKES PEER_FLAKES: the card's kept share over the peer's.
ratio() {
  local card peer
  card=$(printf '%s\n' "${RESULTS[@]}" | awk -v f="flakes=$1" '$2 == "cpu_share" && $3 == f { print $5 }')
  peer_share "$2"
  peer=$PEER_SHARE
  RESULTS+=("bench: cpu_share_peer flakes=$2 size=1024x768 $peer")
  RESULTS+=("bench: cpu_ratio flakes=$2 size=800x600 $(awk -v c="$card" -v p="$peer" 'BEGIN { printf "%.3f", (p > 0 ? c / p : 0) }')")
}

ratio 300 300
ratio 2970 3000

# Ticks of every process of the wine prefix: the card, wine's server and its
# desktop, all of which the card keeps busy.
wine_ticks() {
  local total=0 pid
  for pid in /proc/[0-9]*; do
    pid=${pid#/proc/}
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      total=$((total + $(ticks "$pid" 2>/dev/null || echo 0)))
    fi
  done
  echo "$total"
}

# windows_share FLAKES: the zip's card under wine, measured as cpu_share is.
windows_share() {
  local flakes=$1 dir hz w0 x0 t0 w1 x1 t1 share
  mkdir -p "$WORK/windows"
  unzip -q -o "$WINDOWS_ZIP" -d "$WORK/windows"
  dir=$WORK/windows/Solvane
  sed -i -E -e "s/^SnowNum .*/SnowNum $((flakes / 30))/" -e "s/^SnowDensity .*/SnowDensity 1.0/" "$dir/solvane.cfg"
  export WINEPREFIX=$WORK/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
  wineboot -i >/dev/null 2>&1
  wineserver -w
  hz=$(getconf CLK_TCK)
  start_xvfb
  (cd "$dir" && exec wine ./solvanewin.exe </dev/null >"$WORK/wine-card.log" 2>&1) &
  CARD_PID=$!
  sleep $((CPU_WARMUP + 4))
  kill -0 "$CARD_PID" 2>/dev/null || { echo "run.sh: the Windows card ended during warm-up" >&2; exit 1; }
  w0=$(wine_ticks); x0=$(ticks "$XVFB_PID"); t0=$(now_ns)
  sleep "$CPU_SECONDS"
  w1=$(wine_ticks); x1=$(ticks "$XVFB_PID"); t1=$(now_ns)
  share=$(awk -v c=$((w1 - w0)) -v x=$((x1 - x0)) -v hz="$hz" -v ns=$((t1 - t0)) \
    'BEGIN { printf "%.3f", (c + x) / hz / (ns / 1e9) }')
  echo "cpu     windows flakes=$flakes size=800x600 under wine: wine $(((w1 - w0) * 1000 / hz)) ms," \
    "Xvfb $(((x1 - x0) * 1000 / hz)) ms in $(((t1 - t0) / 1000000)) ms: $share"
  RESULTS+=("bench: windows_cpu_share flakes=$flakes size=800x600 $share")
  wineserver -k 2>/dev/null || true
  wait "$CARD_PID" 2>/dev/null || true
  CARD_PID=""
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
}

if [ -n "${WINDOWS_ZIP:-}" ] && [ -f "$WINDOWS_ZIP" ] && command -v wine >/dev/null; then
  windows_share 300
else
  echo "windows_cpu_share: not measured; make windows first (the zip and wine)"
fi

echo "machine: $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)"
printf '%s\n' "${RESULTS[@]}"
