#!/usr/bin/env bash
# The catalogue's figures: a catalogue of DISKS disks of FILES files (default
# 1000 of 1000: a million file rows) made by bench/make_catalog, then find for
# one station and one day, availability of one station over the whole archive,
# the bytes of the file per file row; and add of a 20 000-file disk beside
# cdcoverage's survey of the same disk. Medians of five runs. Builds the
# optimized preset first.
#   bench/catalog.sh [DISKS] [FILES]
set -euo pipefail
cd "$(dirname "$0")/.."
disks=${1:-1000}
files=${2:-1000}
cmake --workflow --preset bench >/dev/null
work=build/bench/catalog
rm -rf "$work" && mkdir -p "$work"

# median COMMAND...: runs it five times, prints the median in milliseconds.
median() {
  local times=()
  for run in 1 2 3 4 5; do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}

echo "making a catalogue of $disks disks of $files files..."
start=$(date +%s)
build/bench/bench/make_catalog "$work/archive.db" "$disks" "$files"
echo "made in $(($(date +%s) - start)) s"
rows=$((disks * files))
bytes=$(stat -c %s "$work/archive.db")
echo "catalogue: $bytes bytes, $((bytes / rows)) bytes per file row"
cdarchive=build/bench/cdarchive
echo "find, one station, one day in the middle: $(median $cdarchive --catalog="$work/archive.db" \
  find --station=VELK --from=2006-06-15 --to=2006-06-16) ms"
echo "availability, one station, the whole archive: $(median $cdarchive \
  --catalog="$work/archive.db" availability --station=VELK) ms"
echo "availability --extent, the whole archive: $(median $cdarchive \
  --catalog="$work/archive.db" availability --extent) ms"

build/bench/tools/datagen/make_large_disk "$work/disk" 20000 >/dev/null
add() {
  rm -f "$work/add.db"*
  $cdarchive --catalog="$work/add.db" add "$work/disk"
}
echo "add of a 20000-file disk: $(median add) ms;" \
  "cdcoverage's survey of it: $(median build/bench/cdcoverage --format=csv "$work/disk") ms"
