#!/usr/bin/env bash
# The zip as a Windows user gets it, under wine on a private Xvfb: unpacked
# into a folder whose name is not ASCII, Solvane.exe starts the card and
# returns at once, a key ends the card, "t" starts nothing, and Solvane.scr /s
# runs the card full screen until a key.
#   BUILD_DIR   the desktop build folder holding solvane-windows.zip
#   SOURCE_DIR  the source folder
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/wine_lib.sh"

ZIP=$BUILD_DIR/solvane-windows.zip
[ -f "$ZIP" ] || fail "$ZIP is missing; make windows writes it"

start_xvfb 1024x768x24
start_wine

folder="$E2E_TMP/Новая папка"
mkdir -p "$folder"
unzip -q "$ZIP" -d "$folder"
card="$folder/Solvane"
for file in Solvane.exe solvanewin.exe Solvane.scr SDL.dll SDL2.dll solvane.cfg LICENSE \
  data/fonts.cfg fonts/DejaVuSerif.ttf fonts/LICENSE.txt; do
  [ -f "$card/$file" ] || fail "the zip has no Solvane/$file"
done

# Run from elsewhere, as Explorer would: the launcher finds its own folder.
cd "$E2E_TMP"

started=$(date +%s%N)
wine "$card/Solvane.exe" >"$E2E_TMP/launcher.log" 2>&1 || fail "Solvane.exe ended with status $?: $(cat "$E2E_TMP/launcher.log")"
took=$((($(date +%s%N) - started) / 1000000))
echo "Solvane.exe returned with status 0 in $took ms"
[ "$took" -lt 5000 ] || fail "Solvane.exe waited $took ms instead of returning at once"

window=$(wait_for_window '^Solvane$' 60) || fail "no card window after Solvane.exe: $(cat "$E2E_TMP/launcher.log")"
# The intro gives way to the sky after the scene is built.
sleep 4
screenshot "$E2E_TMP/card.png" "$window"
# Wine draws the frame of a window no manager manages into the window itself.
size=$(identify -format '%w %h' "$E2E_TMP/card.png")
width=${size% *} height=${size#* }
[ "$width" -ge 800 ] && [ "$height" -ge 600 ] && [ "$width" -lt 820 ] && [ "$height" -lt 640 ] ||
  fail "the card's window is ${width}x$height, not 800x600 and its frame"
colours=$(convert "$E2E_TMP/card.png" -format '%k' info:)
echo "the card's window shows $colours colours"
[ "$colours" -gt 1000 ] || fail "the card's window shows only $colours colours"
[ -z "${SCREENSHOT_OUT:-}" ] || cp "$E2E_TMP/card.png" "$SCREENSHOT_OUT"

# The card may be gone before the key's release reaches its window.
xdotool key --window "$window" space 2>/dev/null || true
ended=$(wait_window_gone "$window" 10) || fail "the card did not end on a key"
echo "the card's window went $ended ms after the key"
[ "$ended" -le 500 ] || fail "the card took $ended ms to end after the key (at most 500)"

# A lowercase t anywhere starts nothing.
wine "$card/Solvane.exe" /t >"$E2E_TMP/t.log" 2>&1 || fail "Solvane.exe /t ended with status $?"
if wait_for_window '^Solvane$' 3 >/dev/null; then fail "Solvane.exe /t started the card"; fi

# The screensaver: full screen, ended by a key, with status 0.
wine "$card/Solvane.scr" /s >"$E2E_TMP/scr.log" 2>&1 &
APP_PID=$!
window=$(wait_for_window '^Solvane$' 60) || fail "no card window after Solvane.scr /s: $(cat "$E2E_TMP/scr.log")"
sleep 3
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = 1024x768 ] || fail "Solvane.scr /s shows the card in $geometry, not on the whole 1024x768 screen"
# A jitter of a few pixels is no reason to stop.
xdotool mousemove 500 400 && sleep 0.5 && xdotool mousemove 503 402 && sleep 1
kill -0 "$APP_PID" 2>/dev/null || fail "Solvane.scr /s ended on a 3-pixel mouse jitter"
xdotool key --window "$window" Return 2>/dev/null || true
wait_exit "$APP_PID" 10 >/dev/null || fail "Solvane.scr /s did not end on a key"
[ "$WAIT_STATUS" = 0 ] || fail "Solvane.scr /s ended with status $WAIT_STATUS"
APP_PID=""
echo "PASS: the zip's card, launcher and screensaver under wine"
