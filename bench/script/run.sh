#!/usr/bin/env bash
# The script engines against CPython, each whole process timed (start-up
# included), median of several runs. Every workload prints a result; the two
# sides must print the same, or the row is marked as a mismatch. The CPython
# programs do their work inside a function.
# Usage: bench/script/run.sh [build-folder] [runs]   (defaults: build, 5)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../../build}"
runs="${2:-5}"
runner="$build/bin/scriptrun"
if [ ! -x "$runner" ]; then
  echo "scriptrun not found in $build/bin (build the scriptrun target first)" >&2
  exit 1
fi
python="${PYTHON:-python3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Seconds of one whole run of the command; its output goes to $work/out.
once() {
  local start end
  start=$(date +%s%N)
  "$@" >"$work/out" 2>"$work/err" || { echo "failed: $*" >&2; cat "$work/err" >&2; exit 1; }
  end=$(date +%s%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f\n", (b - a) / 1e9 }'
}

# Median of $runs runs; the output of the last run is kept in $work/$1.
median() {
  local keep=$1; shift
  local times=()
  for ((r = 0; r < runs; r++)); do
    times+=("$(once "$@")")
  done
  cp "$work/out" "$work/$keep"
  printf '%s\n' "${times[@]}" | sort -g | awk '{ t[NR] = $1 } END { printf "%.3f", (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2 }'
}

row() {
  local label=$1 need=$2 ours=$3 ref=$4
  local a b ratio same
  a=$(median ours $ours)
  b=$(median ref $ref)
  if cmp -s "$work/ours" "$work/ref"; then same=""; else same="  MISMATCH: $(head -c 60 "$work/ours") / $(head -c 60 "$work/ref")"; fi
  ratio=$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
  printf '%-44s %9s %9s %7s %7s%s\n' "$label" "$a" "$b" "$ratio" "$need" "$same"
}

printf '%-44s %9s %9s %7s %7s\n' "workload" "ours s" "ref s" "ratio" "need"
row "start-up alone (one line of output)" "-" "$runner $here/startup.vbs" "$python $here/startup.py"
row "VBScript Dictionary (Add, Exists/Item, Keys, Remove)" "<=1.5" "$runner $here/dict.vbs" "$python $here/dict.py"
row "VBScript classes (New, members, methods)" "<=1.5" "$runner $here/classes.vbs" "$python $here/classes.py"
row "VBScript report s = s & a & b & vbCrLf, Join" "<=1.5" "$runner $here/report.vbs" "$python $here/report.py"
row "VBScript 10M integer additions" "<=1.0" "$runner $here/add.vbs" "$python $here/add.py"
row "VBScript 100k string concatenations" "<=1.0" "$runner $here/concat.vbs" "$python $here/concat.py"
row "VBScript 1M function calls" "<=1.0" "$runner $here/call.vbs" "$python $here/call.py"
row "JScript 10M integer additions" "<=1.0" "$runner $here/jsadd.js" "$python $here/add.py"
row "JScript 1M function calls" "<=1.0" "$runner $here/jscall.js" "$python $here/call.py"

# Remove must stay linear: twice the removes may take at most 2.5 times as
# long. Start-up would hide the difference, so these two count the run of the
# script only (scriptrun --time).
work_median() {
  local times=() t
  for ((r = 0; r < runs; r++)); do
    t=$("$@" 2>&1 >/dev/null | sed -n 's/^time: //p')
    [ -n "$t" ] || { echo "failed: $*" >&2; exit 1; }
    times+=("$t")
  done
  printf '%s\n' "${times[@]}" | sort -g | awk '{ t[NR] = $1 } END { printf "%.4f", (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2 }'
}
sed 's/^Const N = .*/Const N = 10000/' "$here/dict_remove.vbs" >"$work/remove10k.vbs"
sed 's/^Const N = .*/Const N = 20000/' "$here/dict_remove.vbs" >"$work/remove20k.vbs"
a=$(work_median "$runner" --time "$work/remove20k.vbs")
b=$(work_median "$runner" --time "$work/remove10k.vbs")
ratio=$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
printf '%-44s %9s %9s %7s %7s\n' "VBScript 20k Removes (ref: 10k Removes), run only" "$a" "$b" "$ratio" "<=2.5"
echo "(median of $runs runs, whole process unless marked; ratio = ours / reference)"
