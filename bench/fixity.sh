#!/usr/bin/env bash
# The fixity pass against the floor of reading and of hashing: on an ISO 9660
# image of FILES data files of RECORDS records each (default 20 000 of 46,
# about 830 MB), with a warm cache, medians of five runs of
#   cat IMAGE > /dev/null, openssl dgst -sha256 IMAGE,
#   cdarchive add IMAGE (every byte read once, a SHA-256 per file),
#   cdarchive check IMAGE (the same pass, audited against the catalogue),
#   cdarchive add --no-fixity IMAGE (what the checks need only),
# each as MB/s of the image, add and check beside the slower of cat and
# openssl; then the same for the tree as a folder, and add's peak memory.
# Builds the optimized preset first.
#   bench/fixity.sh [FILES] [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."
files=${1:-20000}
records=${2:-46}
cmake --workflow --preset bench >/dev/null
work=build/bench/fixity
rm -rf "$work" && mkdir -p "$work"
build/bench/tools/datagen/make_large_disk "$work/disk" "$files" "$records" >/dev/null
xorriso -as mkisofs -R -J -quiet -o "$work/disk.iso" "$work/disk" 2>/dev/null
cdarchive=$PWD/build/bench/cdarchive
cd "$work"
bytes=$(stat -c %s disk.iso)
echo "image: $((bytes / 1000000)) MB, $files data files"

# median COMMAND...: the median of five runs' wall time, in seconds.
median() {
  local times=() TIMEFORMAT=%R
  for run in 1 2 3 4 5; do
    times+=($({ time "$@" >/dev/null 2>&1; } 2>&1))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}
rate() { awk "BEGIN { printf \"%.0f MB/s\", $bytes / $1 / 1e6 }"; }
add() { rm -f a.db*; "$cdarchive" --catalog=a.db add "$@"; }

cat disk.iso disk/*/* > /dev/null
read_once=$(median sh -c 'cat disk.iso > /dev/null')
hash_once=$(median openssl dgst -sha256 disk.iso)
floor=$(awk "BEGIN { print ($read_once > $hash_once) ? $read_once : $hash_once }")
echo "cat: $read_once s ($(rate "$read_once")); openssl dgst -sha256: $hash_once s ($(rate "$hash_once"))"
for disk in disk.iso disk; do
  with=$(median add "$disk")
  add "$disk" >/dev/null
  check=$(median "$cdarchive" --catalog=a.db check "$disk")
  without=$(median add --no-fixity "$disk")
  echo "$disk: add $with s ($(rate "$with"), $(awk "BEGIN { printf \"%.2f\", $floor / $with }")x" \
    "the slower floor); check $check s ($(rate "$check"), $(awk "BEGIN { printf \"%.2f\", \
    $floor / $check }")x); add --no-fixity $without s"
done
rm -f a.db*
/usr/bin/time -f "add's peak memory: %M KiB" "$cdarchive" --catalog=a.db add disk.iso 2>&1 >/dev/null |
  tail -1
