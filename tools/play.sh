#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds FINGULP and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target fingulp
exec build/fingulp "$@"
