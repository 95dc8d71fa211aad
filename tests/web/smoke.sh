#!/usr/bin/env bash
# Builds tests/web/smoke.c against the web libraries (scripts/build-libs web),
# serves it on 127.0.0.1 and opens it in headless Chromium: fails unless the
# page draws, both timers fire and the filter sees the key and click the page
# sends. Leaves smoke.png (the screenshot to look at) and page.txt (what the
# page printed) in the build folder, and the sizes on stdout.
#
#   tests/web/smoke.sh [BUILD_DIR]     (default build-web-smoke)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
out=$(mkdir -p "${1:-$repo/build-web-smoke}" && cd "${1:-$repo/build-web-smoke}" && pwd)
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

for tool in emcmake chromium python3 gzip; do
  command -v "$tool" >/dev/null || { echo "smoke: '$tool' is missing; run scripts/install-deps web" >&2; exit 1; }
done

prefix=$(bash "$repo/scripts/build-libs" web | tail -n1)

emcmake cmake -S "$here" -B "$out" -DSOLVANE_LIBS="$prefix" >"$out/configure.log" 2>&1 ||
  { cat "$out/configure.log" >&2; exit 1; }
cmake --build "$out" >"$out/link.log" 2>&1 || { cat "$out/link.log" >&2; exit 1; }
# A call through a pointer of the wrong type traps in WebAssembly; the linker
# only warns about it.
if grep -i 'signature mismatch' "$out/link.log" >&2; then
  echo "smoke: the linker found functions used with the wrong signature (above)" >&2
  exit 1
fi
cp "$here/page.html" "$out/"

server=""
browser=""
profile=$(mktemp -d)
cleanup() {
  [ -z "$browser" ] || kill "$browser" 2>/dev/null || true
  [ -z "$server" ] || kill "$server" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$profile"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$out" >"$out/server.log" 2>&1 &
server=$!
port=""
for _ in $(seq 50); do
  port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$out/server.log" | head -n1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "smoke: the web server did not start" >&2; cat "$out/server.log" >&2; exit 1; }
url="http://127.0.0.1:$port/page.html"

chrome() {
  timeout 60 chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --disable-sync --no-first-run --user-data-dir="$profile" \
    --window-size=800,600 --virtual-time-budget=4000 "$@" "$url" 2>>"$out/chromium.log" &
  browser=$!
  wait "$browser"
  browser=""
}
chrome --screenshot="$out/smoke.png"
chrome --dump-dom >"$out/page.html.dump"
sed -n 's/.*<pre id="log">//; /smoke:\|stderr:/p' "$out/page.html.dump" >"$out/page.txt"
cat "$out/page.txt"

last=$(grep 'smoke: frames' "$out/page.txt" | tail -n1)
[ -n "$last" ] || { echo "smoke: the page printed no counts" >&2; exit 1; }
for count in frames timer addtimer filtered keys clicks; do
  value=$(echo "$last" | sed -n "s/.* $count \([0-9]*\).*/\1/p")
  if [ -z "$value" ] || [ "$value" -eq 0 ]; then
    echo "smoke: no $count in: $last" >&2
    exit 1
  fi
done

total=0
for file in smoke.wasm smoke.js smoke.data; do
  size=$(gzip -9c "$out/$file" | wc -c)
  total=$((total + size))
  echo "smoke: $file $(($(stat -c %s "$out/$file") / 1024)) kB, gzip $((size / 1024)) kB"
done
echo "smoke: page gzip $((total / 1024)) kB"
echo "smoke: passed, screenshot $out/smoke.png"
