#!/bin/sh
# A run that needs no PostgreSQL catalogue and no image pays for neither: the
# programs link neither libpq nor libarchive, which are loaded when a
# postgresql:// catalogue or an image is named (the catalogue's and the image
# tests prove that they then are).
# usage: libraries_on_demand_test.sh PROGRAM...
set -eu
for program in "$@"; do
  needed=$(readelf -d "$program" | grep NEEDED)
  if echo "$needed" | grep -E "libpq|libarchive"; then
    echo "$program links a library it should load on demand"
    exit 1
  fi
done
echo "no program links libpq or libarchive"
