#!/usr/bin/env bash
# Micro-benchmarks of the VBScript engine against CPython: a loop of
# 10,000,000 integer additions, 100,000 string concatenations and 1,000,000
# calls of a small function. Each runtime measures its own run (scriptrun
# --time, time.perf_counter in Python), so the start of the programs does not
# count. Prints a table of the best of three runs and the ratios.
# Usage: bench/script/run.sh [build-folder]   (default: build)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../../build}"
runner="$build/bin/scriptrun"
if [ ! -x "$runner" ]; then
  echo "scriptrun not found in $build/bin (build the scriptrun target first)" >&2
  exit 1
fi
python="${PYTHON:-python3}"

measure() {
  "$@" 2>&1 >/dev/null | sed -n 's/^time: //p'
}

best() {
  local b="" t
  for _ in 1 2 3; do
    t=$(measure "$@")
    if [ -z "$b" ] || awk -v t="$t" -v b="$b" 'BEGIN { exit !(t < b) }'; then b=$t; fi
  done
  printf '%.3f' "$b"
}

printf '%-28s %12s %12s %10s\n' "benchmark" "VBScript s" "CPython s" "ratio"
for name in add concat call; do
  vb=$(best "$runner" --time "$here/$name.vbs")
  py=$(best "$python" "$here/$name.py")
  ratio=$(awk -v a="$vb" -v b="$py" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
  case $name in
    add) label="10M integer additions" ;;
    concat) label="100k string concatenations" ;;
    call) label="1M function calls" ;;
  esac
  printf '%-28s %12s %12s %10s\n' "$label" "$vb" "$py" "$ratio"
done
echo "(best of three runs; ratio = VBScript time / CPython time, below 1 is faster than CPython)"
