#!/bin/sh
# Loopback throughput of Dunmora's transfer object against curl -o, median of
# three runs each: one 1 GiB file, and 100 files of 1 MiB one after another.
# Usage: bench/downloader/run.sh [build folder]   (default: build)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
server=$build/bin/dwn_http_server
driver=$build/bin/dwn_bench_driver
for f in "$server" "$driver"; do
  [ -x "$f" ] || { echo "missing $f (build the targets dwn_http_server and dwn_bench_driver)" >&2; exit 1; }
done
command -v curl >/dev/null || { echo "curl is needed" >&2; exit 1; }

work=$(mktemp -d)
fifo=$work/keep
mkfifo "$fifo"
# The server ends when its standard input closes: keep it open with a sleeper.
sleep 100000 > "$fifo" &
keeper=$!
"$server" 0 < "$fifo" > "$work/port" &
srv=$!
cleanup() { kill "$keeper" "$srv" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT INT TERM
i=0
while ! grep -q PORT "$work/port" 2>/dev/null; do
  i=$((i + 1)); [ $i -lt 100 ] || { echo "server did not start" >&2; exit 1; }
  sleep 0.05
done
port=$(sed -n 's/^PORT //p' "$work/port")
big=http://127.0.0.1:$port/bytes/1073741824
small=http://127.0.0.1:$port/bytes/1048576
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

now() { date +%s.%N; }
median() { sort -n | sed -n 2p; }

curl_big() {
  rm -f "$work/c.bin"; t0=$(now)
  curl -sS --fail -o "$work/c.bin" "$big"
  t1=$(now); echo "$t0 $t1" | awk '{printf "%.4f\n", $2 - $1}'
}
curl_small() {
  args=""; n=0
  while [ $n -lt 100 ]; do args="$args -o $work/s$n $small"; n=$((n + 1)); done
  t0=$(now)
  # shellcheck disable=SC2086
  curl -sS --fail $args
  t1=$(now); rm -f "$work"/s*; echo "$t0 $t1" | awk '{printf "%.4f\n", $2 - $1}'
}
driver_run() { # url count -> "seconds max_gap p99_gap"
  mkdir -p "$work/d"
  out=$(QT_QPA_PLATFORM=$QT_QPA_PLATFORM "$driver" "$1" "$work/d" "$2")
  rm -rf "$work/d"
  echo "$out" | sed 's/.*seconds=\([0-9.]*\).*max_gap_ms=\([0-9]*\) p99_gap_ms=\([0-9]*\).*/\1 \2 \3/'
}

: > "$work/cb"; : > "$work/db"; : > "$work/cs"; : > "$work/ds"
for r in 1 2 3; do
  curl_big >> "$work/cb"
  driver_run "$big" 1 >> "$work/db"
  curl_small >> "$work/cs"
  driver_run "$small" 100 >> "$work/ds"
done

cb=$(median < "$work/cb"); cs=$(median < "$work/cs")
db=$(cut -d' ' -f1 "$work/db" | median); ds=$(cut -d' ' -f1 "$work/ds" | median)
dbg=$(cut -d' ' -f2 "$work/db" | sort -n | tail -1); dsg=$(cut -d' ' -f2 "$work/ds" | sort -n | tail -1)
dbp=$(cut -d' ' -f3 "$work/db" | sort -n | tail -1); dsp=$(cut -d' ' -f3 "$work/ds" | sort -n | tail -1)

awk -v cb="$cb" -v db="$db" -v cs="$cs" -v ds="$ds" -v dbg="$dbg" -v dsg="$dsg" -v dbp="$dbp" -v dsp="$dsp" 'BEGIN {
  gib = 1073741824; mib100 = 104857600;
  printf "%-22s %12s %12s %12s %8s %16s\n", "case (median of 3)", "curl -o", "Dunmora", "", "ratio", "timer gap max/p99";
  printf "%-22s %9.1f MB/s %9.1f MB/s %12s %8.3f %10d/%d ms\n", "1 GiB file", gib/cb/1e6, gib/db/1e6, "", cb/db, dbg, dbp;
  printf "%-22s %9.1f MB/s %9.1f MB/s %12s %8.3f %10d/%d ms\n", "100 x 1 MiB in a row", mib100/cs/1e6, mib100/ds/1e6, "", cs/ds, dsg, dsp;
  printf "seconds: curl %.3f / %.3f, Dunmora %.3f / %.3f\n", cb, cs, db, ds;
}'
