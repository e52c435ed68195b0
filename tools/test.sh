#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test:
# the unit tests, the end-to-end scripts and the desktop tests, the web
# edition's tests in a browser, the Debian package and the web archive, then
# the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer,
# and last the fuzz targets for about 30 s each.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
jobs="$(nproc)"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# The web edition (emscripten), its host tools from the build above, and its
# tests in Debian's chromium against fingulp-sim.
tools/setup-web.sh --tests
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DFINGULP_HOST_TOOLS_DIR="$PWD/build" >/dev/null
cmake --build build-web -j"$jobs"
ctest --test-dir build-web --output-on-failure -j"$jobs"

# The release files (tools/package.sh: the Debian package and the web
# archive), checked with lintian and unpacked into a scratch folder; nothing is
# installed into this machine.
tools/package.sh
tests/package/check.sh build-package build-web/site

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DFINGULP_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# The libFuzzer targets (clang), each for a bounded time. Whatever input makes
# one fail is kept in tests/fuzz/regressions/NAME, which the suite above
# runs from then on; commit it with the fix.
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DFINGULP_FUZZERS=ON -DFINGULP_DESKTOP=OFF >/dev/null
for file in tests/fuzz/*_fuzzer.cpp; do
  target="$(basename "$file" _fuzzer.cpp)"
  cmake --build build-fuzz -j"$jobs" --target "fuzz_$target"
  mkdir -p "build-fuzz/corpus/$target"
  if ! "build-fuzz/tests/fuzz/fuzz_$target" -max_total_time=30 -print_final_stats=1 \
      -artifact_prefix="tests/fuzz/regressions/$target/" \
      "build-fuzz/corpus/$target" "tests/fuzz/corpus/$target"; then
    echo "fuzz_$target found a failing input: see tests/fuzz/regressions/$target/" >&2
    exit 1
  fi
done
