#!/usr/bin/env bash
# Installs what is missing, builds twice and runs the tests:
#  1. build/: every test. Tests that need a display run on a virtual X server;
#     the web engine runs without its sandbox (needed as root) and without
#     the GPU.
#  2. build-asan/: everything built with AddressSanitizer and
#     UndefinedBehaviorSanitizer; every test that needs no web engine (all but
#     the label "webengine") runs again there, without any display. A
#     sanitizer report ends the test program with an error, so the test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
bash scripts/build.sh --sanitize

export LC_ALL=C.UTF-8
(
  export QTWEBENGINE_DISABLE_SANDBOX=1
  export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu --disable-background-networking --disable-component-update"
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 900
)
(
  unset DISPLAY WAYLAND_DISPLAY
  export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  ctest --test-dir build-asan -LE webengine --output-on-failure -j"$(nproc)" --timeout 900
)
