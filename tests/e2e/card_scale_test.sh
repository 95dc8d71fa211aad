#!/usr/bin/env bash
# Other screen sizes scale the whole scene: full screen at 1024x768 and a
# 1280x1024 window both show the sky to their corners, the moon where the
# design puts it and the time texts near their bottom edge.
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

folder=$(card_folder)

start_xvfb 1024x768x24
set_key "$folder/solvane.cfg" Width 1024
set_key "$folder/solvane.cfg" Height 768
set_key "$folder/solvane.cfg" FullScreen 1
start_card "$folder"
wait_for_window Solvane 30 >/dev/null || fail "no card at 1024x768"
sleep 3
screenshot "$E2E_TMP/full.png"
check_scene "$E2E_TMP/full.png" 1024 768
# The card turns SIGTERM into a close request, which it ignores.
kill -9 "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null || true
XVFB_PID=""

start_xvfb 1280x1024x24
cp "$BUILD_DIR/solvane/solvane.cfg" "$folder/solvane.cfg"
set_key "$folder/solvane.cfg" Width 1280
set_key "$folder/solvane.cfg" Height 1024
start_card "$folder"
win=$(wait_for_window Solvane 30) || fail "no card at 1280x1024"
sleep 3
screenshot "$E2E_TMP/window.png" "$win"
check_scene "$E2E_TMP/window.png" 1280 1024
echo "ok: 1024x768 full screen and a 1280x1024 window"
