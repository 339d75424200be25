#!/usr/bin/env bash
# Builds the fuzz targets and runs each on its seed corpus for SECONDS (default
# 60). Fails on any crash, leak, timeout or sanitizer report; the input that
# caused it is kept in build/fuzz/artifacts/. New inputs found go to a scratch
# corpus in build/fuzz/, never into the seeds. The disk image target's seeds are
# images xorriso makes of the sample disk at each run (images are not kept in the
# repository).
#   fuzz/run.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --workflow --preset fuzz >/dev/null
mkdir -p build/fuzz/artifacts
seeds=build/fuzz/seeds/disk_image_fuzz
rm -rf "$seeds" build/fuzz/sample-disk && mkdir -p "$seeds"
build/fuzz/tools/datagen/make_sample_disk build/fuzz/sample-disk
xorriso -as mkisofs -R -J -quiet -o "$seeds/rock_ridge_joliet.iso" build/fuzz/sample-disk 2>/dev/null
xorriso -outdev "$seeds/level1.iso" -rockridge off -joliet off -padding 0 \
  -map build/fuzz/sample-disk / >/dev/null 2>&1
# Shared extents: two names of one file, in each kind of names.
ln build/fuzz/sample-disk/20060615/P0615003.DAT build/fuzz/sample-disk/20060616/P0616009.DAT
xorriso -as mkisofs -R -J -quiet -o "$seeds/hard_link.iso" build/fuzz/sample-disk 2>/dev/null
xorriso -outdev "$seeds/hard_link_level1.iso" -rockridge off -joliet off -padding 0 \
  -map build/fuzz/sample-disk / >/dev/null 2>&1
# A forged size: the volume claims 4 TiB (both byte orders of its sector count).
cp "$seeds/level1.iso" "$seeds/forged_size.iso"
printf '\377\377\377\177\177\377\377\377' |
  dd of="$seeds/forged_size.iso" bs=1 seek=$((16 * 2048 + 80)) conv=notrunc 2>/dev/null
for target in header_text_fuzz c_scan_fuzz verify_file_fuzz summary_json_fuzz disk_image_fuzz \
  manifest_fuzz mount_table_fuzz; do
  found=build/fuzz/found/$target
  corpus=fuzz/corpus/$target
  if [ "$target" = disk_image_fuzz ]; then corpus=$seeds; fi
  limits=(-timeout=10 -rss_limit_mb=2048)
  # An image's cost is bounded by its real bytes: 64 MiB of directory records
  # at most, and no padding out to a forged size. libarchive sets aside a
  # buffer as large as a directory claims (up to twice 4 GiB) before reading
  # it; only the real bytes fill it, which the rss limit holds. Where the host
  # refuses so large a buffer, libarchive is told so and fails the image.
  asan=
  if [ "$target" = disk_image_fuzz ]; then
    limits=(-timeout=5 -rss_limit_mb=768 -malloc_limit_mb=16384)
    asan=allocator_may_return_null=1
  fi
  mkdir -p "$found"
  echo "== $target for $seconds s"
  log=build/fuzz/$target.log
  if ! ASAN_OPTIONS=$asan build/fuzz/fuzz/$target \
    -max_total_time="$seconds" "${limits[@]}" -print_final_stats=1 \
    -artifact_prefix=build/fuzz/artifacts/$target- "$found" "$corpus" >"$log" 2>&1; then
    tail -n 200 "$log"  # the whole report: the frames that say where lead it
    exit 1
  fi
  tail -n 12 "$log"
done
