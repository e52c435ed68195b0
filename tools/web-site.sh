#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine and builds the web edition's site into
# build-web/site/ (tools/web.sh serves it, tools/package.sh archives it).
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
