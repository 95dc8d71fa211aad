#!/usr/bin/env bash
# The real XScreenSaver daemon with the card as its only program, as a user
# sets it up: five times in a row the screensaver is activated, the card must
# be drawn on the screen, and after deactivating no card may be left running.
# The daemon refuses root, so as root the test runs it as a user of its own,
# removed again on every way out. Skips (status 77) where the daemon cannot run.
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

SKIP=77
skip() { echo "SKIP: $*"; exit "$SKIP"; }

saver="$BUILD_DIR/solvane-screensaver"
[ -x "$saver" ] || fail "the screensaver is not built: $saver"
command -v xscreensaver >/dev/null && command -v xscreensaver-command >/dev/null ||
  skip "the xscreensaver daemon is not installed (scripts/install-deps installs it)"

USER_NAME=""
DAEMON_PID=""
# The daemon's user: every process it has left is ended by its id, then the
# user goes.
xscreensaver_cleanup() {
  if [ -n "$DAEMON_PID" ]; then kill "$DAEMON_PID" 2>/dev/null || true; wait "$DAEMON_PID" 2>/dev/null || true; fi
  if [ -n "$USER_NAME" ]; then
    local pids
    pids=$(ps -o pid= -u "$USER_NAME" 2>/dev/null || true)
    [ -n "$pids" ] && kill -9 $pids 2>/dev/null || true
    userdel "$USER_NAME" 2>/dev/null || true
  fi
  e2e_cleanup
}
trap xscreensaver_cleanup EXIT

# The user's files must be readable wherever the build tree is: the card's
# folder is copied, with the screensaver command inside it, so that it finds
# its card without SOLVANE_DIR.
chmod 755 "$E2E_TMP"
folder=$(card_folder)
cp "$saver" "$folder/"
chmod -R a+rX "$folder"
home="$E2E_TMP/home"
mkdir -p "$home"
cat >"$home/.xscreensaver" <<CONF
timeout:	1:00:00
cycle:	0:00:00
lock:	False
fade:	False
unfade:	False
splash:	False
dpmsEnabled:	False
grabDesktopImages:	False
mode:	one
selected:	0
programs:	"Solvane" $folder/solvane-screensaver -root \\n
CONF

as_user=()
if [ "$(id -u)" = 0 ]; then
  command -v useradd >/dev/null && command -v setpriv >/dev/null || skip "useradd or setpriv is missing"
  USER_NAME="solvss$$"
  useradd -M -d "$home" -s /bin/sh "$USER_NAME" 2>"$E2E_TMP/useradd.err" ||
    { USER_NAME=""; skip "cannot make a user for the daemon: $(cat "$E2E_TMP/useradd.err")"; }
  chown -R "$USER_NAME:" "$home"
  as_user=(setpriv --reuid="$USER_NAME" --regid="$(id -g "$USER_NAME")" --clear-groups --)
fi

start_xvfb 800x600x24
# The card reports leaks of the X libraries at exit in a sanitizer build (see
# card_lib.sh); the daemon passes its environment on to the card.
user_env=(env -i "HOME=$home" "DISPLAY=$DISPLAY" "PATH=/usr/bin:/bin" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
  "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0")
"${as_user[@]}" "${user_env[@]}" xscreensaver --no-splash --verbose >"$E2E_TMP/daemon.log" 2>&1 &
DAEMON_PID=$!
command_daemon() { "${as_user[@]}" "${user_env[@]}" xscreensaver-command "$@" >>"$E2E_TMP/command.log" 2>&1; }
for _ in $(seq 1 100); do
  command_daemon -time && break
  kill -0 "$DAEMON_PID" 2>/dev/null || skip "the daemon does not run here: $(tail -n 5 "$E2E_TMP/daemon.log")"
  sleep 0.1
done
command_daemon -time || skip "the daemon does not answer: $(tail -n 5 "$E2E_TMP/daemon.log")"

card_exe=$(readlink -f "$folder/solvanewin")
# cards: the ids of the running cards started from the copied folder.
cards() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/exe" 2>/dev/null)" = "$card_exe" ] && echo "${p#/proc/}"
  done
  return 0
}

for round in 1 2 3 4 5; do
  command_daemon -activate || fail "round $round: xscreensaver-command -activate failed: $(tail -n 3 "$E2E_TMP/command.log")"
  drawn=""
  for _ in $(seq 1 60); do
    sleep 0.5
    [ -n "$(cards)" ] || continue
    screenshot "$E2E_TMP/round$round.png"
    if (check_scene "$E2E_TMP/round$round.png" 800 600) 2>"$E2E_TMP/check.err"; then drawn=yes; break; fi
  done
  [ -n "$drawn" ] || fail "round $round: the card is not drawn: $(cat "$E2E_TMP/check.err"); running: $(cards);" \
    "daemon: $(tail -n 5 "$E2E_TMP/daemon.log")"
  command_daemon -deactivate || fail "round $round: xscreensaver-command -deactivate failed"
  for _ in $(seq 1 100); do [ -z "$(cards)" ] && break; sleep 0.1; done
  left=$(cards)
  [ -z "$left" ] || fail "round $round: a card is left running 10 s after deactivating: $left"
  echo "ok: round $round: the card drawn by the daemon, none left after deactivating"
done

command_daemon -exit || fail "xscreensaver-command -exit failed"
wait_exit "$DAEMON_PID" 10 >/dev/null || fail "the daemon still runs 10 s after -exit"
DAEMON_PID=""
[ -z "$(cards)" ] || fail "a card is left running after the daemon ended: $(cards)"
echo "ok: five activations of the real XScreenSaver daemon, nothing left"
