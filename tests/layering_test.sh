#!/usr/bin/env bash
# The engine's folders from the lowest up: a file may include headers of its
# own folder and of the folders below it, never of one above.
set -euo pipefail
cd "$1/glimmer"
layers=(base resources registry graphics ui runtime)
rank() {
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo -1
}
status=0
for file in */*; do
  from=${file%%/*}
  if [ "$(rank "$from")" -lt 0 ]; then
    echo "$file: folder $from is missing from the list of layers"
    status=1
    continue
  fi
  while read -r to; do
    if [ "$(rank "$to")" -gt "$(rank "$from")" ]; then
      echo "$file includes glimmer/$to/, a folder above its own"
      status=1
    fi
  done < <(grep -oE '#include [<"]glimmer/[a-z]+/' "$file" | sed -E 's|.*glimmer/([a-z]+)/|\1|')
done
# The system under the engine is reached through glimmer/base/Platform.h
# alone: only its per-platform files include system headers or ask which
# platform they are built for.
while read -r hit; do
  echo "$hit: a platform header or macro outside glimmer/base/Platform*.cpp"
  status=1
done < <(grep -nE '#include <(dlfcn|signal|unistd|windows|emscripten)[./]|#if.*(_WIN32|__EMSCRIPTEN__|__linux__|__unix__)' */* |
  grep -v '^base/Platform[A-Za-z]*\.cpp:')
exit "$status"
