#!/usr/bin/env bash
# Times cdverify over an ISO 9660 image against reading the image once
# (cat IMAGE > /dev/null) and against verifying the same tree as a folder, all
# with a warm cache, medians of five runs. The folder run does the per-file work
# both runs share (header parsing, and the log lines, each opening, appending to
# and closing its file); what the image run takes beyond it is the cost of
# reading the image. The disk: FILES data files (default 20 000) of RECORDS
# records each (default 40, 34 KiB a file: a full CD's worth), plus the trigger
# files, as an image with Rock Ridge and Joliet names made by xorriso. Builds
# the optimized preset first.
#   bench/disk_image.sh [FILES] [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."
files=${1:-20000}
records=${2:-40}
cmake --workflow --preset bench >/dev/null
work=build/bench/disk-image
rm -rf "$work" && mkdir -p "$work"
build/bench/tools/datagen/make_large_disk "$work/disk" "$files" "$records"
xorriso -as mkisofs -R -J -quiet -o "$work/disk.iso" "$work/disk" 2>/dev/null
ls -l "$work/disk.iso" | awk '{ printf "image: %.0f MB\n", $5 / 1e6 }'
cd "$work"

median() {
  local times=()
  for run in 1 2 3 4 5; do
    local start end
    start=$(date +%s.%N)
    "$@" > /dev/null
    end=$(date +%s.%N)
    times+=("$(awk "BEGIN { print $end - $start }")")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}
cat disk.iso > /dev/null
read_once=$(median sh -c 'cat disk.iso > /dev/null')
folder=$(median sh -c 'rm -f log.out; ../cdverify -archDisk=disk')
verify=$(median sh -c 'rm -f log.out; ../cdverify -archDisk=disk.iso')
printf 'cat: %s s, cdverify on the folder: %s s, on the image: %s s\n' \
  "$read_once" "$folder" "$verify"
printf 'image over cat %.2f; image beyond the folder run over cat %.2f\n' \
  "$(awk "BEGIN { print $verify / $read_once }")" \
  "$(awk "BEGIN { print ($verify - $folder) / $read_once }")"
grep -a -E '^     files:' log.out | head -1 | tr -d '\n\r'; echo
