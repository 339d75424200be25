#!/bin/sh
# The Wine session of a Windows build's tests, in the build's own prefix.
# "setup" makes the prefix if needed, starts a Wine server that stays up while
# tests come and go (a server that exits between two tests can reset the next
# one's connection), and maps the test drive: a fresh folder, linked as the
# drive letter. A letter that already leads anywhere else is left untouched: the
# tests then find that the drive is not theirs and skip. "cleanup" unmaps the
# drive, removes the folder and stops the server.
#
# usage: wine_session.sh setup|cleanup PREFIX LETTER FOLDER EMULATOR...
set -eu
action=$1 prefix=$2 letter=$3 folder=$4
shift 4
link="$prefix/dosdevices/$letter:"
ours() { [ -L "$link" ] && [ "$(readlink "$link")" = "$folder" ]; }
server() { WINEPREFIX=$prefix /usr/lib/wine/wineserver "$@"; }

case $action in
setup)
  [ -f "$prefix/system.reg" ] || "$@" wineboot -i
  # A server left by test discovery would exit between tests: replace it.
  server -k >/dev/null 2>&1 || true
  server -w >/dev/null 2>&1 || true
  server -p30 </dev/null >/dev/null 2>&1 || true  # detached: ctest waits for open pipes
  if { [ -e "$link" ] || [ -L "$link" ]; } && ! ours; then
    echo "drive $letter: is taken ($link); it is left as it is and the end-to-end tests skip"
    exit 0
  fi
  rm -rf "$folder"
  mkdir -p "$folder"
  ln -sfn "$folder" "$link"
  ;;
cleanup)
  if ours; then rm -f "$link"; fi
  rm -rf "$folder"
  server -k || true
  ;;
*)
  echo "usage: $0 setup|cleanup PREFIX LETTER FOLDER EMULATOR..." >&2
  exit 2
  ;;
esac
