#!/usr/bin/env bash
# Clash-check benchmark: one plate converted beside 0, 100 and 1,000 lists.
#
#   bench/clash_folder.sh [BUILD_DIR]        (default: build; use a Release build)
#
# One plate export (384 sample lines x 4 fractions = 1,536 records) is
# converted with `korr2ld-cli convert --overwrite` into a folder that already
# holds 0, 100 or 1,000 Sample Lists of the same size (6.5 MB each). Their
# data file names use ten other base names, and one of them (list0050.sdb)
# the plate's own, so every conversion beside it warns of exactly that clash.
#
# For each folder: the first conversion with an empty clash cache, then
# K2L_CLASH_RUNS (default 5) following ones, all warm (the lists read into
# the page cache just before); then, when this process may drop the page
# cache (/proc/sys/vm/drop_caches), a first and a following conversion cold.
# Prints wall-clock time, CPU time (user + system) and peak memory of each
# kind, checks that every conversion into a folder gives the same warnings,
# and exits 1 when not.
# Targets: with 1,000 lists, warm, the following conversions take at most
# 1.5x the empty folder's time; peak memory under 32 MB.
#
# The lists are made once into K2L_CLASH_LISTS (default: BUILD_DIR/clash-lists,
# about 6.6 GB) and reused by later runs: remove that folder when done. The
# export, the cache and the settings live in a fresh directory under $TMPDIR
# (or BUILD_DIR/bench-tmp), removed afterwards.
set -euo pipefail

build=${1:-build}
cli="$build/bin/korr2ld-cli"
runs=${K2L_CLASH_RUNS:-5}
lists=${K2L_CLASH_LISTS:-$build/clash-lists}
counts=(0 100 1000)

for needed in "$cli" /usr/bin/time; do
  if [ ! -x "$needed" ]; then
    echo "clash_folder.sh: $needed not found (build korr2ld-cli; /usr/bin/time is Debian's 'time')" >&2
    exit 1
  fi
done

# shellcheck source=bench/bench_sandbox.sh
source "$(dirname "$0")/bench_sandbox.sh"
bench_parent
bench_work k2l-clash
export XDG_STATE_HOME="$work/state" XDG_CACHE_HOME="$work/cache"

# Writes an export of 384 sample lines with 4 fractions each to $1.
make_plate() {
  awk 'BEGIN {
    print "Korrin run export\tPlate\t2026-01-01"
    print "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment"
    for (i = 1; i <= 384; i++)
      printf "%d\tS_%d\t1.5\t2.25\tA%dM%d.5\tR1:1:4\tRack1\tplate\n", i, i, i % 96 + 1, i % 7
  }' >"$1"
}
make_plate "$work/plate.txt"
names=(--ms ESI_POS --inlet LC_30MIN --macro ACQUIRE)

# The folders: 1000/ holds list0001.sdb .. list1000.sdb, 100/ hard links to
# the first hundred, 0/ nothing.
if [ ! -f "$lists/complete" ]; then
  echo "== making 1,000 plate-sized lists in $lists (once)"
  rm -rf "$lists"
  mkdir -p "$lists/seed" "$lists/0" "$lists/100" "$lists/1000"
  for base in NB0 NB1 NB2 NB3 NB4 NB5 NB6 NB7 NB8 NB9 PLATE; do
    "$cli" convert "$work/plate.txt" "$lists/seed/$base.sdb" "${names[@]}" --data "${base}X" \
      >/dev/null 2>&1
  done
  for i in $(seq 1 1000); do
    name=$(printf 'list%04d.sdb' "$i")
    seed="NB$((i % 10))"
    [ "$i" -eq 50 ] && seed=PLATE
    cp "$lists/seed/$seed.sdb" "$lists/1000/$name"
    [ "$i" -le 100 ] && ln "$lists/1000/$name" "$lists/100/$name"
  done
  rm -rf "$lists/seed"
  touch "$lists/complete"
  sleep 3  # the clash cache keeps only lists changed at least 2 s before
fi
echo "   lists: $lists ($(du -sh "$lists" | cut -f1))"

can_drop=no
if sync && (echo 3 >/proc/sys/vm/drop_caches) 2>/dev/null; then
  can_drop=yes
fi

# Converts the plate into folder $1; sets elapsed, cpu (user + system, s)
# and rss_kb, and keeps the warnings in $work/warnings.$2.
convert_into() {
  /usr/bin/time -f "%e %U %S %M" -o "$work/time.log" \
    "$cli" convert "$work/plate.txt" "$1/plate.sdb" "${names[@]}" --data PLATE --overwrite \
    >/dev/null 2>"$work/warnings.$2"
  local user system
  read -r elapsed user system rss_kb <"$work/time.log"
  cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
}

# Prints one line of results: WHAT, then the runs' "elapsed cpu rss" triples on stdin.
report() {
  sort -n | awk -v what="$1" '
    { e[NR] = $1; c[NR] = $2; if ($3 > rss) rss = $3 }
    END {
      med = (NR % 2) ? e[(NR + 1) / 2] : (e[NR / 2] + e[NR / 2 + 1]) / 2
      printf "   %-36s best %6.3f s  median %6.3f s  (%d run%s)  cpu %s s  peak %.1f MB\n",
        what, e[1], med, NR, NR == 1 ? "" : "s", c[1], rss / 1024
    }'
}

failed=0
declare -A following_best
for n in "${counts[@]}"; do
  dir="$lists/$n"
  echo "== one plate into a folder of $n lists"
  rm -f "$dir/plate.sdb"
  cat "$dir"/list*.sdb >/dev/null 2>&1 || true # warm: the lists in the page cache
  rm -rf "$XDG_CACHE_HOME"
  convert_into "$dir" first
  echo "$elapsed $cpu $rss_kb" | report "first (cache empty), warm"
  : >"$work/runs"
  for _ in $(seq 1 "$runs"); do
    convert_into "$dir" next
    if ! cmp -s "$work/warnings.first" "$work/warnings.next"; then
      echo "   WRONG: the warnings differ from the first conversion's:"
      diff "$work/warnings.first" "$work/warnings.next" | head -5
      failed=1
    fi
    echo "$elapsed $cpu $rss_kb" >>"$work/runs"
  done
  report "following (cache full), warm" <"$work/runs"
  following_best[$n]=$(sort -n "$work/runs" | head -1 | cut -d' ' -f1)
  if [ "$can_drop" = yes ]; then
    rm -rf "$XDG_CACHE_HOME"
    sync && echo 3 >/proc/sys/vm/drop_caches
    convert_into "$dir" cold
    echo "$elapsed $cpu $rss_kb" | report "first (cache empty), cold"
    sync && echo 3 >/proc/sys/vm/drop_caches
    convert_into "$dir" next
    echo "$elapsed $cpu $rss_kb" | report "following (cache full), cold"
  fi
  echo "   warnings: $(grep -c 'data-file-clash' "$work/warnings.first" || true) clash"
done
[ "$can_drop" = yes ] || echo "   cold: not measured, the page cache cannot be dropped here"

awk -v e="${following_best[0]}" -v t="${following_best[1000]}" 'BEGIN {
  ratio = (e > 0) ? t / e : 0
  printf "== 1,000 lists / empty folder, warm, best following: %.2f (target <= 1.5) %s\n",
    ratio, (ratio <= 1.5 ? "met" : "MISSED")
}'
exit "$failed"
