#!/usr/bin/env bash
# Conversion benchmark for korr2ld-cli.
#
#   bench/convert.sh [BUILD_DIR]        (default: build; use a Release build)
#
# 1. Generates an export of 20,000 sample lines with 10 fractions each
#    (200,000 records, about 850 MB of records), converts it with
#    `korr2ld-cli convert`, and times `dd` writing the same number of bytes
#    with conv=fsync to the same directory. Prints both times, their ratio
#    and the conversion's peak memory (maximum resident set size).
#    Targets: conversion at most 2x the dd time; peak memory under 32 MB.
# 2. Converts the same export with bench/plain_convert.py, a plain Python
#    converter making the same records, and compares the CPU time (user +
#    system) of both. Target: the conversion at most 0.25x the Python one.
#    Left out when there is no python3.
# 3. Converts a 384-line plate with 4 fractions each, end to end.
#    Target: well under a second.
# 4. With K2L_BENCH_WINDOWS set to a Windows build (build-windows/x64, from
#    make windows), converts the export of step 1 with its korr2ld-cli.exe
#    under Wine, through the stand-in DLLs, and prints its time beside the
#    Linux build's. Wine is not Windows: an order of magnitude only.
#    Target: within 3x the Linux build's time.
#
# Work happens in a fresh directory under $TMPDIR when it is set, otherwise
# under BUILD_DIR/bench-tmp, and is removed afterwards. The data system's
# settings go to a sandbox there too (LUMENDA_HOME, HOME, XDG_CONFIG_HOME),
# so the benchmark never changes the real user's locations.
# K2L_BENCH_LINES and K2L_BENCH_FRACTIONS change the size of step 1.
set -euo pipefail

build=${1:-build}
cli="$build/bin/korr2ld-cli"
lines=${K2L_BENCH_LINES:-20000}
fractions=${K2L_BENCH_FRACTIONS:-10}
record_size=4262

if [ ! -x "$cli" ]; then
  echo "convert.sh: $cli not found; build korr2ld-cli first (Release build)" >&2
  exit 1
fi
if [ ! -x /usr/bin/time ]; then
  echo "convert.sh: /usr/bin/time is needed (Debian package 'time')" >&2
  exit 1
fi

# shellcheck source=bench/bench_sandbox.sh
source "$(dirname "$0")/bench_sandbox.sh"
bench_parent
bench_work k2l-convert

# Writes an export of $2 sample lines with $3 fractions each to $1.
make_export() {
  awk -v n="$2" -v f="$3" 'BEGIN {
    print "Korrin run export\tBench\t2026-01-01"
    print ""
    print "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment"
    for (i = 1; i <= n; i++)
      printf "%d\tS_%d\t1.5\t2.25\tA%dM%d.5\tR1:1:%d\tRack1\tbench\n", i, i, i % 96 + 1, i % 7, f
  }' >"$1"
}

# Runs a command under /usr/bin/time; sets elapsed (s), max_rss_kb and cpu
# (user + system, s).
timed() {
  local log="$work/time.log" user system
  /usr/bin/time -f "%e %M %U %S" -o "$log" "$@"
  read -r elapsed max_rss_kb user system <"$log"
  cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
}

names=(--ms ESI_POS --inlet LC_30MIN --macro ACQUIRE --data BENCH)

records=$((lines * fractions))
bytes=$((records * record_size))

echo "== large export: $lines sample lines x $fractions fractions = $records records ($bytes bytes of records)"
echo "   directory: $work"
make_export "$work/bench.txt" "$lines" "$fractions"

sync
timed "$cli" convert "$work/bench.txt" "$work/bench.sdb" "${names[@]}" >"$work/convert.out" 2>&1
convert_s=$elapsed
convert_rss_kb=$max_rss_kb
convert_cpu=$cpu
written=$(sed -n 's/^\([0-9]*\) records written.*/\1/p' "$work/convert.out")
if [ "$written" != "$records" ]; then
  echo "convert.sh: expected $records records, the conversion reported: $(cat "$work/convert.out")" >&2
  exit 1
fi
sdb_bytes=$(stat -c %s "$work/bench.sdb")
rm -f "$work/bench.sdb" "$work/bench.sdb"-*

sync
timed dd if=/dev/zero of="$work/dd.bin" bs=1M count="$bytes" iflag=count_bytes conv=fsync status=none
dd_s=$elapsed
rm -f "$work/dd.bin"

awk -v c="$convert_s" -v d="$dd_s" -v rss="$convert_rss_kb" -v sdb="$sdb_bytes" \
  -v cpu="$convert_cpu" 'BEGIN {
  ratio = (d > 0) ? c / d : 0
  printf "   conversion:              %8.2f s  (Sample List file %.0f MB)\n", c, sdb / 1e6
  printf "   CPU (user + system):     %8.2f s\n", cpu
  printf "   dd conv=fsync, same size: %7.2f s\n", d
  printf "   ratio conversion / dd:   %8.2f    (target <= 2)  %s\n", ratio, (ratio <= 2 ? "met" : "MISSED")
  printf "   peak memory (max RSS):   %8.1f MB (target < 32) %s\n", rss / 1024, (rss < 32 * 1024 ? "met" : "MISSED")
}'

# The interpreter itself, not a wrapper that would add its own CPU time.
if python=$(python3 -c 'import sys; print(sys.executable)' 2>/dev/null) && [ -n "$python" ]; then
  echo "== the same export with bench/plain_convert.py ($("$python" --version 2>&1))"
  sync
  timed "$python" "$(dirname "$0")/plain_convert.py" "$work/bench.txt" "$work/plain.sdb" \
    BENCH ESI_POS LC_30MIN ACQUIRE
  rm -f "$work/plain.sdb" "$work/plain.sdb"-*
  awk -v c="$convert_cpu" -v p="$cpu" -v e="$elapsed" 'BEGIN {
    ratio = (p > 0) ? c / p : 0
    printf "   Python: %.2f s, CPU %.2f s; korr2ld-cli CPU %.2f s\n", e, p, c
    printf "   CPU ratio korr2ld-cli / Python: %.2f (target <= 0.25)  %s\n", ratio,
      (ratio <= 0.25 ? "met" : "MISSED")
  }'
else
  echo "== no python3: the CPU comparison with bench/plain_convert.py is left out"
fi

plate_lines=384
plate_fractions=4
echo "== plate: $plate_lines sample lines x $plate_fractions fractions = $((plate_lines * plate_fractions)) records"
make_export "$work/plate.txt" "$plate_lines" "$plate_fractions"
timed "$cli" convert "$work/plate.txt" "$work/plate.sdb" "${names[@]}" >"$work/convert.out" 2>&1
awk -v c="$elapsed" -v rss="$max_rss_kb" 'BEGIN {
  printf "   end to end:              %8.2f s  (target well under 1 s)  %s\n", c, (c < 1 ? "met" : "MISSED")
  printf "   peak memory (max RSS):   %8.1f MB\n", rss / 1024
}'

if [ -n "${K2L_BENCH_WINDOWS:-}" ]; then
  exe="$K2L_BENCH_WINDOWS/bin/korr2ld-cli.exe"
  if [ ! -f "$exe" ]; then
    echo "convert.sh: $exe not found; run make windows first" >&2
    exit 1
  fi
  echo "== the large export with $exe under Wine (the stand-in DLLs)"
  export WINEPREFIX="$work/wine" WINEDEBUG=-all
  wine wineboot -i >/dev/null 2>&1 || true
  sync
  timed wine "$exe" --data-system "$(winepath -w "$K2L_BENCH_WINDOWS/standin")" convert \
    "$(winepath -w "$work/bench.txt")" "$(winepath -w "$work/bench-wine.sdb")" "${names[@]}" \
    >"$work/convert.out" 2>&1
  written=$(tr -d '\r' <"$work/convert.out" | sed -n 's/^\([0-9]*\) records written.*/\1/p')
  if [ "$written" != "$records" ]; then
    echo "convert.sh: expected $records records under Wine: $(cat "$work/convert.out")" >&2
    exit 1
  fi
  awk -v w="$elapsed" -v c="$convert_s" 'BEGIN {
    ratio = (c > 0) ? w / c : 0
    printf "   under Wine:              %8.2f s  (Linux build %.2f s)\n", w, c
    printf "   ratio Wine / Linux:      %8.2f    (target <= 3)  %s\n", ratio, (ratio <= 3 ? "met" : "MISSED")
  }'
fi
