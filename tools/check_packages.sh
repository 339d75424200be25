#!/usr/bin/env bash
# Checks what `cmake --workflow --preset package` made: the Debian package,
# unpacked into a scratch root, must hold the three programs, their manual pages and
# the documents, and its programs must run on the sample disk; the Windows .zip
# must hold the three executables (32-bit, importing only system DLLs), their
# manuals as text, the README, the licence and the catalogue's schema, every
# document with CR LF line ends.
# lintian must find no error or warning in the Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls build/package/cdverify_*.deb)
zip=$(ls build/package-windows/cdverify-*-win32.zip)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== $deb"
dpkg-deb --field "$deb" Package Version Depends Maintainer
# The libraries loaded on demand, which dpkg-shlibdeps cannot see.
for library in libpq5 libarchive13; do
  dpkg-deb --field "$deb" Depends | grep -q "$library" || { echo "Depends lacks $library"; exit 1; }
done
lintian --fail-on error,warning "$deb"
echo "lintian: no error or warning"
dpkg -x "$deb" "$work/root"
for file in usr/bin/cdverify usr/bin/cdcoverage usr/bin/cdarchive usr/share/man/man1/cdverify.1.gz \
  usr/share/man/man1/cdcoverage.1.gz usr/share/man/man1/cdarchive.1.gz \
  usr/share/doc/cdverify/README.md usr/share/doc/cdverify/catalog-schema.sql \
  usr/share/doc/cdverify/cdcoverage-summary.schema.json usr/share/doc/cdverify/copyright \
  usr/share/doc/cdverify/changelog.gz; do
  [ -f "$work/root/$file" ] || { echo "missing from the package: $file"; exit 1; }
done
man -l "$work/root/usr/share/man/man1/cdcoverage.1.gz" 2>/dev/null | grep -q "gap-tolerance"
build/package/tools/datagen/make_sample_disk "$work/disk"
(cd "$work" && root/usr/bin/cdverify -archDisk=disk > /dev/null)
grep -a -q "^     files: 7 " "$work/log.out"
"$work/root/usr/bin/cdcoverage" "$work/disk" | grep -q "^cdcoverage: 1 disk, 7 files"
# An image, read by the library loaded on demand.
xorriso -as mkisofs -R -J -quiet -V SAMPLE -o "$work/sample.iso" "$work/disk"
"$work/root/usr/bin/cdcoverage" "$work/sample.iso" | grep -q "^cdcoverage: 1 disk, 7 files"
"$work/root/usr/bin/cdcoverage" --version
"$work/root/usr/bin/cdarchive" --catalog="$work/archive.db" add "$work/disk" | grep -q ": added, 7 files"
"$work/root/usr/bin/cdarchive" --catalog="$work/archive.db" availability --extent | grep -q "^VELK 1 10 "
echo "the installed programs verified the sample disk"

echo "== $zip"
python3 -m zipfile -l "$zip"
python3 -m zipfile -e "$zip" "$work/zip"
folder=$(ls -d "$work"/zip/cdverify-*)
for file in cdverify.exe cdcoverage.exe cdarchive.exe doc/cdverify.txt doc/cdcoverage.txt \
  doc/cdarchive.txt doc/README.md doc/LICENSE doc/cdcoverage-summary.schema.json \
  doc/catalog-schema.sql; do
  [ -f "$folder/$file" ] || { echo "missing from the zip: $file"; exit 1; }
done
for document in "$folder"/doc/*; do
  if grep -q -v $'\r$' "$document"; then echo "a line without CR LF in $document"; exit 1; fi
done
grep -q "gap-tolerance" "$folder/doc/cdcoverage.txt"
for exe in cdverify.exe cdcoverage.exe cdarchive.exe; do
  tools/check_windows_exe.sh "$folder/$exe" "PE32 executable (console) Intel 80386"
done
