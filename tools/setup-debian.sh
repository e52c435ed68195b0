#!/usr/bin/env bash
# Installs the Debian 12 packages FINGULP needs to build, play and test, and
# any package named on the command line. Installs only what is missing;
# needs root (or sudo) when something is.
set -euo pipefail

packages=(
  cmake g++ make pkg-config git python3
  libfreetype-dev fonts-liberation2 libpng-dev libwebp-dev libsdl2-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev valgrind
  xvfb xdotool imagemagick sox x11-utils x11-apps jwm desktop-file-utils appstream
  lintian man-db
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
