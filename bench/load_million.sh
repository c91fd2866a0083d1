#!/usr/bin/env bash
# Load benchmark: one conversion of 1,000,000 records.
#
#   bench/load_million.sh [BUILD_DIR]        (default: build; use a Release build)
#
# Generates an export of 100,000 sample lines with 10 fractions each and
# converts it into one Sample List of 1,000,000 records (about 4.3 GB), with
# the conversion probe (BUILD_DIR/bin/convert_probe, built with the tests)
# or, with K2L_LOAD_TOOL=cli, with BUILD_DIR/bin/korr2ld-cli convert.
# Reports the time and the peak memory (maximum resident set size, from
# /usr/bin/time -v), then checks the list with the sqlite3 tool: the record
# count, the numbers 1..N, and the first and last records' fields through
# the sample_list view.
# Target: peak memory under 32 MB. Exits 1 when a check fails.
#
# Work happens in a fresh directory under $TMPDIR when it is set, otherwise
# under BUILD_DIR/bench-tmp, and is removed afterwards; about 4.5 GB of free
# space are needed there. The data system's settings go to a sandbox there
# too (LUMENDA_HOME, HOME, XDG_CONFIG_HOME). K2L_LOAD_LINES and
# K2L_LOAD_FRACTIONS change the size.
set -euo pipefail

build=${1:-build}
lines=${K2L_LOAD_LINES:-100000}
fractions=${K2L_LOAD_FRACTIONS:-10}
tool=${K2L_LOAD_TOOL:-probe}
records=$((lines * fractions))
record_size=4262

case "$tool" in
  probe) program="$build/bin/convert_probe" ;;
  cli) program="$build/bin/korr2ld-cli" ;;
  *) echo "load_million.sh: K2L_LOAD_TOOL must be probe or cli" >&2; exit 2 ;;
esac
for needed in "$program" /usr/bin/time; do
  if [ ! -x "$needed" ]; then
    echo "load_million.sh: $needed not found (build $tool first; /usr/bin/time is Debian's 'time')" >&2
    exit 1
  fi
done
if ! command -v sqlite3 >/dev/null; then
  echo "load_million.sh: the sqlite3 tool is needed (Debian package 'sqlite3')" >&2
  exit 1
fi

# shellcheck source=bench/bench_sandbox.sh
source "$(dirname "$0")/bench_sandbox.sh"
bench_parent
needed_kb=$(((records * record_size + records * 64) / 1024 + 65536))
free_kb=$(df -Pk "$parent" | awk 'NR == 2 { print $4 }')
if [ "$free_kb" -lt "$needed_kb" ]; then
  echo "load_million.sh: $parent has $((free_kb / 1024)) MB free, $((needed_kb / 1024)) MB needed" >&2
  exit 1
fi
bench_work k2l-load

echo "== $lines sample lines x $fractions fractions = $records records, with $tool"
echo "   directory: $work"
awk -v n="$lines" -v f="$fractions" 'BEGIN {
  print "Korrin run export\tLoad\t2026-01-01"
  print "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment"
  for (i = 1; i <= n; i++)
    printf "%d\tS_%d\t1.5\t2.25\tA%dM%d.5\tR1:1:%d\tRack1\tload\n", i, i, i % 96 + 1, i % 7, f
}' >"$work/load.txt"

list="$work/load.sdb"
sync
if [ "$tool" = probe ]; then
  command=("$program" "$work/load.txt" "$list" RUN12)
else
  command=("$program" convert "$work/load.txt" "$list" --ms MSMETH1 --inlet LC30 --macro ACQ
    --data RUN12)
fi
/usr/bin/time -v -o "$work/time.log" "${command[@]}" >"$work/convert.out" || {
  echo "load_million.sh: the conversion failed: $(cat "$work/convert.out")" >&2
  exit 1
}
elapsed=$(sed -n 's/^[[:space:]]*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.log")
cpu_user=$(sed -n 's/^[[:space:]]*User time (seconds): //p' "$work/time.log")
cpu_system=$(sed -n 's/^[[:space:]]*System time (seconds): //p' "$work/time.log")
max_rss_kb=$(sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$work/time.log")
list_bytes=$(stat -c %s "$list")
echo "   conversion output:      $(head -n 1 "$work/convert.out")"
echo "   wall clock:             $elapsed (user $cpu_user s, system $cpu_system s)"
awk -v rss="$max_rss_kb" -v b="$list_bytes" 'BEGIN {
  printf "   Sample List file:       %.1f MB\n", b / 1e6
  printf "   peak memory (max RSS):  %.1f MB (target < 32) %s\n", rss / 1024,
    (rss < 32 * 1024 ? "met" : "MISSED")
}'

failed=0
check() {  # check WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    echo "   ok: $1 = $3"
  else
    echo "   WRONG: $1 = $3, expected $2"
    failed=1
  fi
}
query() {
  sqlite3 -readonly -separator '|' "$list" "$1"
}
check "count(*), min(number), max(number)" "$records|1|$records" \
  "$(query 'SELECT count(*), min(number), max(number) FROM records')"
check "sizes of the records" "$record_size" "$(query 'SELECT DISTINCT length(data) FROM records')"
check "first record" "1|RUN12001|Fraction:1, 1.50, 2.25|MSMETH1|LC30|ACQ|1|A2|1.500" \
  "$(query 'SELECT number, data_file, fraction, ms_method, inlet_method, macro, running_number,
            column5_text, column5_value FROM sample_list WHERE number = 1')"
last_text="A$((lines % 96 + 1))"
last_value="$((lines % 7)).500"
check "last record" \
  "$records|[RUN12$records]|Fraction:$fractions, 1.50, 2.25|[MSMETH1]|[LC30]|[ACQ]|[$records]|$last_text|$last_value" \
  "$(query "SELECT number, data_file, fraction, ms_method, inlet_method, macro, running_number,
            column5_text, column5_value FROM sample_list WHERE number = $records")"
if [ "$max_rss_kb" -ge $((32 * 1024)) ]; then
  failed=1
fi
exit "$failed"
