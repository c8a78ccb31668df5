#!/usr/bin/env bash
# Configures and builds into build/ (the program folder is build/app/).
# With --sanitize: builds into build-asan/ with AddressSanitizer and
# UndefinedBehaviorSanitizer, without the benchmarks and without the tests
# that start the web engine.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--sanitize" ]; then
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSIVANE_SANITIZE=ON \
    -DTESSIVANE_WEBENGINE_TESTS=OFF -DTESSIVANE_BUILD_BENCH=OFF >/dev/null
  cmake --build build-asan -j"$(nproc)"
  exit 0
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
