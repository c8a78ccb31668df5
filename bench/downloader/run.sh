#!/bin/sh
# Dunmora against curl on loopback, side by side in one run, median of RUNS
# runs (default 7):
#   200 x 1 MiB   200 files one after another; for each file the time from its
#                 request reaching the server to the complete file at its
#                 target, summed over the files
#   2 GiB         one file, the same time
# Dunmora runs as the program (QT_QPA_PLATFORM, offscreen unless set) and gets
# every request as a later start hands it over, the next once the file before
# it is complete; curl -o fetches the same addresses one after another in one
# process. The server logs when each request arrives; a watcher on the folder,
# a process of its own on both sides, logs when each file is complete (renamed
# into place, or closed by curl).
# A last line gives the transfer object's delays of a 10 ms timer during a
# 1 GiB transfer (dwn_bench_driver), the window's responsiveness.
# Usage: bench/downloader/run.sh [build folder]   (default: build)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
runs=${RUNS:-7}
server=$build/bin/dwn_http_server
driver=$build/bin/dwn_bench_driver
feed=$build/bin/dwn_bench_feed
dunmora=$build/app/Dunmora
for f in "$server" "$driver" "$feed" "$dunmora"; do
  [ -x "$f" ] || { echo "missing $f (build the targets Dunmora, dwn_http_server, dwn_bench_feed, dwn_bench_driver)" >&2; exit 1; }
done
command -v curl >/dev/null || { echo "curl is needed" >&2; exit 1; }

work=$(mktemp -d)
fifo=$work/keep
mkfifo "$fifo"
mkdir -m 700 "$work/rt"
export XDG_RUNTIME_DIR=$work/rt
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# The server ends when its standard input closes: keep it open with a sleeper.
sleep 100000 > "$fifo" &
keeper=$!
"$server" 0 --log "$work/arrivals" < "$fifo" > "$work/port" &
srv=$!
dpid=
cleanup() {
  [ -z "$dpid" ] || kill "$dpid" 2>/dev/null || true
  kill "$keeper" "$srv" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM
i=0
while ! grep -q PORT "$work/port" 2>/dev/null; do
  i=$((i + 1)); [ $i -lt 100 ] || { echo "server did not start" >&2; exit 1; }
  sleep 0.05
done
port=$(sed -n 's/^PORT //p' "$work/port")
small=http://127.0.0.1:$port/bytes/1048576
big=http://127.0.0.1:$port/bytes/2147483648
service='Dunmora|Dwn'

# Sum over the files of completion - arrival, in seconds.
request_to_file() { # completions-file
  awk 'NR == FNR { t = $1; sub(/.*[?]f=/, "f", t); arrived[t] = $2; next }
       ($1 in arrived) { sum += $2 - arrived[$1]; n++ }
       END { if (n == 0) exit 1; printf "%.4f %d\n", sum / 1e9, n }' "$work/arrivals" "$1"
}

curl_run() { # url count
  rm -rf "$work/d"; mkdir "$work/d"; : > "$work/arrivals"
  "$feed" watch "$work/d" "$2" > "$work/done" &
  w=$!
  until grep -q READY "$work/done" 2>/dev/null; do sleep 0.01; done
  args=""; n=0
  while [ $n -lt "$2" ]; do args="$args -o $work/d/f$n $1?f=$n"; n=$((n + 1)); done
  # shellcheck disable=SC2086
  curl -sS --fail $args
  wait "$w"
  request_to_file "$work/done"
}

dunmora_run() { # url count
  rm -rf "$work/d"; mkdir "$work/d"; : > "$work/arrivals"
  "$dunmora" Show 2>/dev/null &
  dpid=$!
  i=0
  until [ -S "$XDG_RUNTIME_DIR/Dunmora_Dwn.sock" ]; do
    i=$((i + 1)); [ $i -lt 500 ] || { echo "Dunmora did not start" >&2; exit 1; }
    sleep 0.01
  done
  "$feed" watch "$work/d" "$2" > "$work/done" &
  w=$!
  until grep -q READY "$work/done" 2>/dev/null; do sleep 0.01; done
  "$feed" feed "$service" "$1" "$work/d" "$2" > /dev/null
  wait "$w"
  kill "$dpid"; wait "$dpid" 2>/dev/null || true; dpid=
  rm -f "$XDG_RUNTIME_DIR"/Dunmora_Dwn.*
  request_to_file "$work/done"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: > "$work/cs"; : > "$work/ds"; : > "$work/cb"; : > "$work/db"; : > "$work/gap"
# The two sides take turns going first, and every run starts with the disk
# written out, so that neither pays for the other's dirty pages.
r=0
while [ $r -lt "$runs" ]; do
  for side in curl dunmora; do
    [ $((r % 2)) -eq 0 ] || side=$([ $side = curl ] && echo dunmora || echo curl)
    sync
    if [ $side = curl ]; then curl_run "$small" 200 >> "$work/cs"; else dunmora_run "$small" 200 >> "$work/ds"; fi
  done
  for side in curl dunmora; do
    [ $((r % 2)) -eq 0 ] || side=$([ $side = curl ] && echo dunmora || echo curl)
    rm -rf "$work/d"; sync
    if [ $side = curl ]; then curl_run "$big" 1 >> "$work/cb"; else dunmora_run "$big" 1 >> "$work/db"; fi
  done
  r=$((r + 1))
done
rm -rf "$work/d"; mkdir "$work/d"
"$driver" "http://127.0.0.1:$port/bytes/1073741824" "$work/d" 1 > "$work/gap"
rm -rf "$work/d"

for f in cs ds cb db; do
  awk '$2 == 0 { exit 1 }' "$work/$f" || { echo "a run completed no file" >&2; exit 1; }
done
cs=$(cut -d' ' -f1 "$work/cs" | median); ds=$(cut -d' ' -f1 "$work/ds" | median)
cb=$(cut -d' ' -f1 "$work/cb" | median); db=$(cut -d' ' -f1 "$work/db" | median)
gap=$(sed 's/.*max_gap_ms=\([0-9]*\) p99_gap_ms=\([0-9]*\).*/\1\/\2/' "$work/gap")

awk -v cs="$cs" -v ds="$ds" -v cb="$cb" -v db="$db" -v runs="$runs" -v gap="$gap" 'BEGIN {
  printf "%-34s %12s %12s %10s\n", "request to complete file (median of " runs ")", "curl -o", "Dunmora", "ratio";
  printf "%-34s %10.1f ms %10.1f ms %10.2fx\n", "200 x 1 MiB, sum over the files", cs * 1000, ds * 1000, ds / cs;
  printf "%-34s %10.1f ms %10.1f ms %10.2fx\n", "  per file", cs * 5, ds * 5, ds / cs;
  printf "%-34s %10.1f ms %10.1f ms %10.2fx\n", "2 GiB file", cb * 1000, db * 1000, db / cb;
  printf "window delay during 1 GiB (10 ms timer, max/p99): %s ms\n", gap;
}'
