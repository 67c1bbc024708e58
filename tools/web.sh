#!/usr/bin/env bash
# Builds the game for the web into build-web/: the page (index.html, kestrava.js and
# kestrava.wasm) and kestrava-script.js, the scripted runner for node, which takes the
# desktop runner's options (but draws no pictures: no --shot, no --stats). Installs what is
# missing first: Debian's emscripten, node and libstb-dev, and the desktop's build packages,
# because the asset generators are built and run natively first (in build-host/).
#
#   tools/web.sh                   build
#   tools/web.sh --serve [PORT]    serve build-web/ on 127.0.0.1 (port 8080 unless given)
#   node build-web/kestrava-script.js --frames 3000 --keys K --trace t.jsonl --audio a.wav
#
# CMAKE_CXX_COMPILER_LAUNCHER=ccache in the environment compiles through ccache.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--serve" ]; then
  port=${2:-8080}
  if [ ! -f build-web/index.html ]; then
    echo "tools/web.sh: nothing to serve: build-web/index.html is missing (run tools/web.sh first)" >&2
    exit 1
  fi
  echo "Serving build-web/ at http://127.0.0.1:$port/ (Ctrl+C stops)"
  # Python comes with emscripten; .wasm must go out as application/wasm for streaming compiles.
  exec python3 -c '
import functools, http.server, sys
handler = http.server.SimpleHTTPRequestHandler
handler.extensions_map[".wasm"] = "application/wasm"
http.server.test(HandlerClass=functools.partial(handler, directory="build-web"),
                 port=int(sys.argv[1]), bind="127.0.0.1")' "$port"
fi
[ $# -eq 0 ] || { echo "usage: tools/web.sh [--serve [PORT]]" >&2; exit 2; }

tools/install-deps.sh emscripten nodejs
jobs=$(nproc)

echo "== The asset generators, natively (build-host/)"
cmake -S . -B build-host -DCMAKE_BUILD_TYPE=Release -DKESTRAVA_TESTS=OFF -DKESTRAVA_BENCH=OFF
cmake --build build-host -j"$jobs" --target kestrava_fontgen kestrava_picturegen kestrava_icongen

echo "== The page and the runner, as WebAssembly (build-web/)"
# emcc runs node's modules, which nodesource's node does not look for where Debian keeps them.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DKESTRAVA_HOST_BUILD="$PWD/build-host"
cmake --build build-web -j"$jobs"
echo "Built build-web/: tools/web.sh --serve serves the page"
