#!/usr/bin/env bash
# Builds the fuzz targets and runs each on its seed corpus for SECONDS (default
# 60). Fails on any crash, leak, timeout or sanitizer report; the input that
# caused it is kept in build/fuzz/artifacts/. New inputs found go to a scratch
# corpus in build/fuzz/, never into the seeds.
#   fuzz/run.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --workflow --preset fuzz >/dev/null
mkdir -p build/fuzz/artifacts
for target in header_text_fuzz c_scan_fuzz verify_file_fuzz; do
  found=build/fuzz/found/$target
  mkdir -p "$found"
  echo "== $target for $seconds s"
  build/fuzz/fuzz/$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/$target- \
    "$found" fuzz/corpus/$target 2>&1 | tail -n 12
done
