#!/usr/bin/env bash
# Installs what the web edition needs on Debian 12, only what is missing:
# emscripten (with node), and with --tests Debian's chromium and
# playwright-core from npm (into tests/web/node_modules; playwright-core never
# downloads a browser of its own). Needs root (or sudo) when a package is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(emscripten)
[ "${1:-}" = "--tests" ] && packages+=(chromium)
# emscripten brings node; npm only where node came some other way without it.
command -v node >/dev/null || packages+=(nodejs)
[ "${1:-}" = "--tests" ] && ! command -v npm >/dev/null && packages+=(npm)

tools/setup-debian.sh "${packages[@]}"

if [ "${1:-}" = "--tests" ] && [ ! -d tests/web/node_modules/playwright-core ]; then
  (cd tests/web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --silent)
fi
