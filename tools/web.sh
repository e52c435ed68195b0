#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the web edition into
# build-web/site/ and serves it on http://127.0.0.1:PORT/ (PORT defaults to
# 8080). Any static web server can serve that folder: see docs/web.md.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
tools/setup-web.sh
jobs="$(nproc)"
# The build-time tools (resource embedder, glyph baker, icon drawer) run on
# this machine: they come from the native build.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target fingulp_host_tools
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DFINGULP_HOST_TOOLS_DIR="$PWD/build" >/dev/null
cmake --build build-web -j"$jobs" --target fingulp_page_site
port="${PORT:-8080}"
echo "FINGULP is served at http://127.0.0.1:$port/ (Ctrl+C stops it)"
# Python's server gives .wasm files their type, application/wasm.
exec python3 -m http.server --bind 127.0.0.1 --directory build-web/site "$port"
