#!/bin/sh
# Builds and runs the address-bar keystroke benchmark.
# Usage: bench/addressbar/run.sh [build-dir] [entries] [apps] [keystrokes]
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
shift 2>/dev/null || true
cmake --build "$build" --target addressbar_bench -j4 >/dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/addressbar_bench" "$@"
