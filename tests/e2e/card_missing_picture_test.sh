#!/usr/bin/env bash
# A picture missing from the data root ends the card with code 4 and says why
# on standard error.
source "$SOURCE_DIR/tests/e2e/lib.sh"
source "$SOURCE_DIR/tests/e2e/card_lib.sh"

folder=$(card_folder)
rm "$folder/data/fg/bg1.png"
start_xvfb 1024x768x24
start_card "$folder"
wait_exit "$APP_PID" 30 >"$E2E_TMP/status" || fail "the card did not end"
status=$(cat "$E2E_TMP/status")
[ "$status" = "4" ] || fail "status $status instead of 4"
grep -q 'Can`t find sprite' "$E2E_TMP/card.err" || fail "no message on standard error: $(cat "$E2E_TMP/card.err")"
echo "ok: status 4, $(head -n 1 "$E2E_TMP/card.err")"
