#!/bin/sh
# The README's small archive for trying cdcoverage: three disks made with
# make_large_disk, one with overlapping files, one with gaps between its files
# and a start inside the other's time. Their summary must show all of it.
# usage: archive_of_disks_test.sh CDCOVERAGE MAKE_LARGE_DISK
set -eu
cdcoverage=$1 make_large_disk=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$make_large_disk" archive/disk1 400
"$make_large_disk" archive/disk2 200 --start=2006-06-17T00:00:00 --step=50
"$make_large_disk" archive/disk3 100 --start=2006-06-17T02:00:00 --step=90 --station=VELK
"$cdcoverage" archive/disk1 archive/disk2 archive/disk3 > summary.txt
cat summary.txt | head -8
grep -q "^cdcoverage: 3 disks, 700 files, gap tolerance 0 s$" summary.txt
grep -q "^  overlaps: [1-9]" summary.txt
grep -q "^  gaps: [1-9]" summary.txt
grep -q "^  overlap of archive/disk2 and archive/disk3:$" summary.txt
if "$make_large_disk" archive/bad 10 --step=-1 2> /dev/null; then
  echo "a negative step was taken"
  exit 1
fi
echo "the archive of three disks shows its gaps and overlaps"
