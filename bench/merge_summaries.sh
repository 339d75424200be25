#!/usr/bin/env bash
# Times cdcoverage merging DISKS per-disk JSON summaries of FILES files each
# (default 1000 of 100: an archive of 100 000 files), the way a whole archive is
# summarised after the disks were read in parallel. Builds the optimized preset
# first; prints the median of five runs for each output format.
#   bench/merge_summaries.sh [DISKS] [FILES]
set -euo pipefail
cd "$(dirname "$0")/.."
disks=${1:-1000}
files=${2:-100}
cmake --workflow --preset bench >/dev/null
work=build/bench/summaries
rm -rf "$work"
python3 tools/make_summaries.py "$disks" "$files" "$work"
du -sh "$work"
for format in text json csv; do
  times=()
  for run in 1 2 3 4 5; do
    start=$(date +%s.%N)
    build/bench/cdcoverage --format=$format --svg=/dev/null "$work"/*.json >/dev/null
    end=$(date +%s.%N)
    times+=("$(awk "BEGIN { print $end - $start }")")
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
  printf '%s: %s s to merge %s summaries (runs: %s)\n' "$format" "$median" "$disks" "${times[*]}"
done
