#!/bin/sh
# The README's next step after the sample run, as it stands there: each block
# of commands after the line "<!-- run by tests/readme_commands_test.sh -->" is
# run from a scratch folder whose build/default is BUILD_DIR, as the top of the
# repository is after the sample run. CI runs it right after the sample run of
# a clean clone, so that it proves the sample built what the README names; as
# a test it makes the sample disk where the sample run would. The archive of
# three disks the README makes must show its gaps and overlaps.
# usage: readme_commands_test.sh README BUILD_DIR
set -eu
readme=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
build=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

mkdir build
ln -s "$build" build/default
[ -d build/default/sample/disk ] || build/default/tools/datagen/make_sample_disk build/default/sample/disk

# Each marked block into a script of its own: blocks.1, blocks.2, ...
awk '
  /^<!-- run by tests\/readme_commands_test.sh -->$/ { marked = 1; next }
  marked && /^```sh$/ { n++; inside = 1; marked = 0; next }
  inside && /^```$/ { inside = 0; next }
  inside { print > ("block." n) }
' "$readme"
[ -f block.1 ] || { echo "no block of the README is marked to be run"; exit 1; }

for block in block.*; do
  echo "---- $block"
  cat "$block"
  bash -eu -o pipefail "$block" >> out.txt
done

# The sample disk, then the archive of three disks.
grep "^cdcoverage: " out.txt
grep -q "^cdcoverage: 1 disk, " out.txt
grep -q "^cdcoverage: 3 disks, 700 files, gap tolerance 0 s$" out.txt
grep -q "^  overlaps: [1-9]" out.txt
grep -q "^  gaps: [1-9]" out.txt
grep -q "^  overlap of archive/disk2 and archive/disk3:$" out.txt

make_large_disk=build/default/tools/datagen/make_large_disk
if "$make_large_disk" archive/bad 10 --step=-1 2> /dev/null; then
  echo "a negative step was taken"
  exit 1
fi
"$make_large_disk" --help | grep -q "^  --step=SECONDS"
if build/default/tools/datagen/make_sample_disk --help > help.txt; then
  [ ! -e ./--help ] && grep -q "^usage: make_sample_disk DIRECTORY$" help.txt
else
  echo "make_sample_disk --help failed"
  exit 1
fi
echo "the README's commands ran as written"
