#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the web edition into
# build-web/site/ and serves it on http://127.0.0.1:PORT/ (PORT defaults to
# 8080). Any static web server can serve that folder: see docs/web.md.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/web-site.sh
port="${PORT:-8080}"
echo "FINGULP is served at http://127.0.0.1:$port/ (Ctrl+C stops it)"
# Python's server gives .wasm files their type, application/wasm.
exec python3 -m http.server --bind 127.0.0.1 --directory build-web/site "$port"
