#!/bin/sh
# One catalogue for both hosts: a catalogue made by cdarchive.exe (under Wine)
# is read by the Linux cdarchive, and the reverse, with the same rows, labels,
# digests and answers; and both hosts give the same manifest of the same disk,
# and the same bytes on standard output; and a drive is known by its volume
# name.
#
# usage: catalog_between_hosts_test.sh NATIVE_BUILD WINDOWS_BUILD WINE_LOADER
set -eu
native=$(cd "$1" && pwd) windows=$(cd "$2" && pwd) loader=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export WINEPREFIX="$windows/wine-prefix" WINEDEBUG=-all
linux() { "$native/cdarchive" "$@"; }
win() { "$loader" "$windows/cdarchive.exe" "$@"; }
fail() { echo "catalog_between_hosts_test: $*" >&2; exit 1; }
# same WHAT FILE FILE: the two files hold the same bytes.
same() { cmp -s "$2" "$3" || { diff "$2" "$3" >&2 || true; fail "$1 differ"; }; }

"$native/tools/datagen/make_sample_disk" disk >/dev/null
disk_on_windows="Z:$(pwd | tr / '\\')\\disk"

# Each host makes a catalogue of the same disk.
win --catalog=made-on-windows.db add "$disk_on_windows" > added-on-windows
linux --catalog=made-on-linux.db add disk > added-on-linux
same "the add's outputs" added-on-windows added-on-linux

# Each reads the other's, and every answer is the same bytes, whoever made the
# catalogue and whoever reads it.
for made in made-on-windows made-on-linux; do
  for ask in "find --station=VELK --from=2006-06-15T12:00:00 --to=2006-06-16T12:00:00" \
    "find --station=VELK --format=csv" "availability" "availability --extent --format=geocsv" \
    "manifest disk"; do
    # shellcheck disable=SC2086 # the words of a question
    linux --catalog=$made.db $ask > linux-reads-$made
    # shellcheck disable=SC2086
    win --catalog=$made.db $ask > windows-reads-$made
    same "'$ask' of the catalogue $made" linux-reads-$made windows-reads-$made
  done
done
same "the manifests of one disk (libcrypto's and CNG's digests)" \
  linux-reads-made-on-windows linux-reads-made-on-linux

# The rows: the label, where it came from, the digests.
linux --catalog=made-on-windows.db disks --format=csv | cut -d'|' -f1-4,6-9 > windows-rows
linux --catalog=made-on-linux.db disks --format=csv | cut -d'|' -f1-4,6-9 > linux-rows
same "the disks' rows" windows-rows linux-rows

# Each host checks the disk against the other's catalogue, and knows its own
# reading of it as a copy of the disk the other added.
linux --catalog=made-on-windows.db check disk > checked-on-linux ||
  fail "Linux's check against Windows' catalogue: $(cat checked-on-linux)"
win --catalog=made-on-linux.db check "$disk_on_windows" --as=disk > checked-on-windows ||
  fail "Windows' check against Linux's catalogue: $(cat checked-on-windows)"
same "the checks" checked-on-linux checked-on-windows
linux --catalog=made-on-windows.db add --as=again disk | grep -q "^again: added, a copy of disk," ||
  fail "Linux does not know Windows' disk as the one it reads"
win --catalog=made-on-linux.db add --as=again "$disk_on_windows" |
  grep -q "^again: added, a copy of disk," || fail "Windows does not know Linux's disk as the one it reads"

# A drive's volume name is the disk's label: the disk as a drive of its own
# (Wine reads a drive's volume name from .windows-label at its root, once per
# session: the server starts anew).
link="$WINEPREFIX/dosdevices/l:"
[ ! -e "$link" ] && [ ! -L "$link" ] || fail "drive l: of $WINEPREFIX is taken"
cp -r disk drive
printf DISK042 > drive/.windows-label
ln -s "$work/drive" "$link"
trap 'rm -f "$link"; rm -rf "$work"' EXIT
/usr/lib/wine/wineserver -k 2>/dev/null || true
"$loader" reg add 'HKLM\Software\Wine\Drives' /v l: /d hd /f >/dev/null 2>&1
/usr/lib/wine/wineserver -k 2>/dev/null || true
win --catalog=drive.db add l > added-drive
grep -q "^DISK042: added, 7 files," added-drive || fail "the drive's label: $(cat added-drive)"
echo "catalog_between_hosts_test: one catalogue, the same answers on Linux and on Windows"
