#!/usr/bin/env bash
# Installs into a temporary prefix, builds a program against the installed
# engine the way the README says, and starts the installed card through the
# installed start command, which has to find the card's folder by itself.
source "$SOURCE_DIR/tests/e2e/lib.sh"

PREFIX="$E2E_TMP/prefix"
[ -x "$BUILD_DIR/solvane/solvanewin" ] || fail "the card is not built: $BUILD_DIR/solvane/solvanewin"

cmake --install "$BUILD_DIR" --prefix "$PREFIX" >"$E2E_TMP/install.log" 2>&1 ||
  { cat "$E2E_TMP/install.log" >&2; fail "cmake --install failed"; }

# --- what lies where -------------------------------------------------------
for f in games/solvane games/solvane-screensaver lib/solvane/launcher lib/solvane/solvanewin; do
  [ -x "$PREFIX/$f" ] || fail "$f is not installed as a program"
done
for f in lib/solvane/solvane.cfg lib/libglimmer.a include/glimmer/glimmer.h \
  lib/cmake/Glimmer/GlimmerConfig.cmake lib/cmake/Glimmer/GlimmerConfigVersion.cmake lib/pkgconfig/glimmer.pc \
  share/applications/solvane.desktop share/man/man6/solvane.6.gz share/man/man6/solvane-screensaver.6.gz \
  share/doc/solvane/copyright share/doc/libglimmer-dev/copyright; do
  [ -f "$PREFIX/$f" ] || fail "$f is not installed"
done
[ -n "$(find "$PREFIX/lib/solvane/data" -type f)" ] || fail "the data root is empty"
# The fonts are links to the system's files, which they must reach.
for font in "$PREFIX"/lib/solvane/fonts/*.ttf; do
  [ -L "$font" ] && [ -f "$font" ] || fail "$font is not a working link to a system font"
done
[ -n "$(find "$PREFIX/lib/solvane/fonts" -name '*.ttf')" ] || fail "no fonts in the card's folder"

# Every engine header that an installed header includes is installed too.
while read -r header; do
  [ -f "$PREFIX/include/$header" ] || fail "installed headers include $header, which is missing"
done < <(grep -rhoE '#include "glimmer/[^"]+"' "$PREFIX/include/glimmer" | sed -E 's/#include "(.*)"/\1/' | sort -u)

desktop="$PREFIX/share/applications/solvane.desktop"
grep -qx "Exec=$PREFIX/games/solvane" "$desktop" || fail "desktop entry does not start the installed command: $(cat "$desktop")"
grep -qx "Icon=solvane" "$desktop" || fail "desktop entry names no icon"
icon="$PREFIX/share/icons/hicolor/48x48/apps/solvane.png"
[ "$(identify -format '%m %wx%h' "$icon")" = "PNG 48x48" ] || fail "the 48x48 icon is not a 48x48 PNG"
validation=$(desktop-file-validate "$desktop" 2>&1) || fail "the desktop entry does not validate: $validation"
[ -z "$validation" ] || fail "desktop-file-validate has remarks: $validation"

# A prefix with a blank in it is quoted in the entry, as desktop entries require.
spaced="$E2E_TMP/a b"
cmake --install "$BUILD_DIR" --prefix "$spaced" >/dev/null 2>&1 || fail "install into a folder with a blank failed"
grep -qx "Exec=\"$spaced/games/solvane\"" "$spaced/share/applications/solvane.desktop" ||
  fail "unquoted Exec for a prefix with a blank: $(grep Exec "$spaced/share/applications/solvane.desktop")"
rm -rf "$spaced"

# --- a program against the installed engine, from the README's lines -------
# The README's section holds four indented blocks: the CMakeLists.txt, the
# lines the example adds for its PNG writer, the build commands, and the same
# build through pkg-config, written for the prefix /opt/solvane.
readme_block() {
  awk -v want="$1" '
    /^## / { in_section = ($0 == "## Building a program against the installed engine") }
    in_section && /^    / { if (!inside) { n++; inside = 1 } if (n == want) print substr($0, 5); next }
    in_section && /^$/ && inside { if (n == want) print ""; next }
    { inside = 0 }' "$SOURCE_DIR/README.md"
}
app="$E2E_TMP/app"
mkdir -p "$app/tools"
{ readme_block 1; readme_block 2; } >"$app/CMakeLists.txt"
grep -q 'find_package(Glimmer' "$app/CMakeLists.txt" || fail "no find_package(Glimmer) block in the README"
cp "$SOURCE_DIR/examples/buttons/main.cpp" "$app/main.cpp"
cp -r "$SOURCE_DIR/tools/png" "$app/tools/png"
rm -f "$app/tools/png/CMakeLists.txt"
(
  cd "$app"
  readme_block 3 | grep -v '^$' | sed "s|/opt/solvane|$PREFIX|g" >build.sh
  bash -e build.sh >build.log 2>&1
) || { cat "$app/build.log" >&2; fail "the README's program does not build against the installed engine"; }
[ -x "$app/build/myscene" ] || fail "the README's program was not built"
grep -rq "$SOURCE_DIR/glimmer" "$app/build/CMakeFiles" && fail "the program was built against the source tree"

# The same program through pkg-config, with the README's fourth block; the
# folder holds no glimmer/, so <glimmer/glimmer.h> can only be the installed one.
(
  cd "$app"
  readme_block 4 | grep -v '^$' | sed "s|/opt/solvane|$PREFIX|g" >build-pc.sh
  grep -q 'pkg-config' build-pc.sh || { echo "no pkg-config block in the README"; exit 1; }
  bash -e build-pc.sh >build-pc.log 2>&1 || { cat build-pc.log; exit 1; }
) >&2 || fail "the README's program does not build through pkg-config"
[ -x "$app/myscene" ] || fail "the pkg-config build made no program"

start_xvfb

# proc_ended PID: the process is gone or a zombie. A zombie has ended: the
# card's parent is whoever adopted it, which may be slow to reap it.
proc_ended() {
  local state
  state=$(awk '{ sub(/.*\) /, ""); print $1 }' "/proc/$1/stat" 2>/dev/null || true)
  [ -z "$state" ] || [ "$state" = "Z" ]
}

# press_key WINDOW KEY ENDED-TEST: gives the window the keyboard and presses
# the key until the test says the program has ended (at most five tries). A
# window with no window manager takes keys a moment after its focus arrives,
# later still in a sanitizer build.
press_key() {
  local window=$1 key=$2 ended=$3 try i
  for try in 1 2 3 4 5; do
    timeout 5 xdotool windowfocus --sync "$window" 2>/dev/null || true
    sleep 0.5
    xdotool key "$key" 2>/dev/null || true
    for i in $(seq 1 40); do
      "$ended" && return 0
      sleep 0.05
    done
  done
  "$ended"
}

# It runs: its window appears, it reports its first frame, Escape ends it.
# Against a sanitized engine the leak check stays off: the system libraries
# SDL unloads at exit leave allocations no suppression can name, and the
# example's own test checks the same code for leaks inside the build tree.
(cd "$app" && ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  exec ./build/myscene >"$E2E_TMP/app.out" 2>"$E2E_TMP/app.err") &
APP_PID=$!
app_window=$(wait_for_window Glimmer-Example 60) || fail "the README's program shows no window"
for _ in $(seq 1 600); do grep -qx running "$E2E_TMP/app.out" && break; sleep 0.1; done
grep -qx running "$E2E_TMP/app.out" || fail "the README's program drew no frame"
app_ended() { proc_ended "$APP_PID"; }
press_key "$app_window" Escape app_ended || fail "the README's program still runs after Escape"
wait_exit "$APP_PID" 5 >"$E2E_TMP/app.status" || fail "the README's program cannot be waited for"
status=$(cat "$E2E_TMP/app.status")
[ "$status" = 0 ] || { cat "$E2E_TMP/app.err" >&2; fail "the README's program ended with status $status"; }
APP_PID=""

# --- the installed card through the installed start command ----------------
# SOLVANE_DIR is unset: solvane finds ../lib/solvane beside itself.
unset SOLVANE_DIR
start=$(date +%s%N)
"$PREFIX/games/solvane" >"$E2E_TMP/launcher.log" 2>&1 </dev/null || fail "solvane exited with $?"
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
[ "$elapsed_ms" -lt 3000 ] || fail "solvane took ${elapsed_ms} ms: it should not wait for the card"

# The card is no child of ours: find it by its program file.
card_exe="$PREFIX/lib/solvane/solvanewin"
card_pid=""
for _ in $(seq 1 100); do
  for p in /proc/[0-9]*; do
    if [ "$(readlink "$p/exe" 2>/dev/null)" = "$card_exe" ]; then card_pid=${p#/proc/}; break 2; fi
  done
  sleep 0.1
done
[ -n "$card_pid" ] || { cat "$E2E_TMP/launcher.log" >&2; fail "the card did not start"; }
APP_PID=$card_pid
[ "$(readlink "/proc/$card_pid/cwd")" = "$PREFIX/lib/solvane" ] || fail "the card runs in $(readlink "/proc/$card_pid/cwd")"
[ "$(readlink "/proc/$card_pid/fd/0")" = "/dev/null" ] || fail "the card's input is not /dev/null"

caption=$(tr -s ' \t\r\n' '\n' <"$PREFIX/lib/solvane/solvane.cfg" | awk 'prev == "Caption" { print; exit } { prev = $0 }')
window=$(wait_for_window "${caption:-.}" 60) || fail "no card window appeared"

card_ended() { proc_ended "$card_pid"; }
sleep 1 # the card ignores input until its first frame is on the screen
card_ended && fail "the card ended before any input"
press_key "$window" space card_ended || fail "the card still runs after a key press"
APP_PID=""
echo "install_test: passed"
