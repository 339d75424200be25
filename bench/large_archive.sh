#!/usr/bin/env bash
# Times whole cdverify runs over a generated archive of FILES data files
# (default 20000) in both streams. Builds the optimized preset first.
#   bench/large_archive.sh [FILES]
set -euo pipefail
cd "$(dirname "$0")/.."
files=${1:-20000}
cmake --workflow --preset bench >/dev/null
work=build/bench/large-archive
rm -rf "$work" && mkdir -p "$work"
echo "writing $files data files..."
build/bench/tools/datagen/make_large_disk "$work/disk" "$files"
du -sh "$work/disk"
cd "$work"
for stream in permanent trigger; do
  rm -f log.out
  start=$(date +%s.%N)
  ../cdverify -archDisk=disk -stream=$stream >/dev/null
  end=$(date +%s.%N)
  printf '%s stream: %.2f s, %s\n' "$stream" "$(awk "BEGIN { print $end - $start }")" \
    "$(grep -a -E '^     files:' log.out | tr -d '\n\r')"
done
