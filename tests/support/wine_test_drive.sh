#!/bin/sh
# The drive of the Windows end-to-end tests under Wine: "map" makes a fresh folder
# for it and links the drive letter to that folder in the build's own Wine prefix;
# "unmap" removes both again. A letter that already leads anywhere else is left
# untouched: the tests then find that the drive is not theirs and skip.
#
# usage: wine_test_drive.sh map|unmap PREFIX LETTER FOLDER EMULATOR...
set -eu
action=$1 prefix=$2 letter=$3 folder=$4
shift 4
link="$prefix/dosdevices/$letter:"
ours() { [ -L "$link" ] && [ "$(readlink "$link")" = "$folder" ]; }

case $action in
map)
  [ -f "$prefix/system.reg" ] || "$@" wineboot -i
  if { [ -e "$link" ] || [ -L "$link" ]; } && ! ours; then
    echo "drive $letter: is taken ($link); it is left as it is and the end-to-end tests skip"
    exit 0
  fi
  rm -rf "$folder"
  mkdir -p "$folder"
  ln -sfn "$folder" "$link"
  ;;
unmap)
  if ours; then rm -f "$link"; fi
  rm -rf "$folder"
  ;;
*)
  echo "usage: $0 map|unmap PREFIX LETTER FOLDER EMULATOR..." >&2
  exit 2
  ;;
esac
