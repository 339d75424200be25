#!/usr/bin/env bash
# cdarchive.exe's figures under Wine, beside the Linux build's: add --no-fixity
# of a 5000-file disk against cdcoverage.exe's survey of the same disk (taking
# turns, medians of eleven), add with fixity, and find for one station and one
# day on a catalogue of 100 000 file rows (100 disks of 1000 files, made by
# bench/make_catalog: the same SQLite file either build reads), with the cost
# of starting an empty process under Wine (--version) beside it. The 32-bit
# build where this machine executes 32-bit code, else the 64-bit one (say
# which). Builds the optimized Linux preset and the Windows build first.
#   bench/windows_archive.sh
set -euo pipefail
cd "$(dirname "$0")/.."
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  preset=build-windows build=build/mingw loader=/usr/lib/wine/wine
else
  preset=test-windows64 build=build/mingw64 loader=/usr/lib/wine/wine64
  echo "(this machine executes no 32-bit code: the 64-bit Windows build is measured)"
fi
cmake --workflow --preset bench >/dev/null
if [ "$preset" = test-windows64 ]; then
  cmake --preset mingw64 >/dev/null && cmake --build --preset mingw64 >/dev/null
else
  cmake --workflow --preset "$preset" >/dev/null
fi
work=$(pwd)/build/bench/windows
rm -rf "$work" && mkdir -p "$work"
export WINEPREFIX=$(pwd)/$build/wine-prefix WINEDEBUG=-all
[ -f "$WINEPREFIX/system.reg" ] || "$loader" wineboot -i >/dev/null 2>&1
/usr/lib/wine/wineserver -p120  # one server for every run, as a session has
windows_path() { echo "Z:${1//\//\\}"; }

source bench/timing.sh

build/bench/tools/datagen/make_large_disk "$work/disk" 5000 >/dev/null
disk=$(windows_path "$work/disk")
catalog=$(windows_path "$work/add.db")
fresh() { rm -f "$work/add.db"*; }
add_no_fixity() { "$loader" "$build/cdarchive.exe" --catalog="$catalog" add --no-fixity "$disk"; }
add() { "$loader" "$build/cdarchive.exe" --catalog="$catalog" add "$disk"; }
survey() { "$loader" "$build/cdcoverage.exe" --format=csv "$disk"; }
read -r add_ms survey_ms < <(alternating 11 fresh add_no_fixity survey)
echo "add --no-fixity of a 5000-file disk: $add_ms ms, cdcoverage.exe's survey of it:" \
  "$survey_ms ms (medians of 11, taking turns): $(awk "BEGIN { printf \"%.2f\", $add_ms / $survey_ms }")x"
echo "add of it with fixity: $(runs 5 fresh add | middle) ms"
linux_add() { build/bench/cdarchive --catalog="$work/add.db" add --no-fixity "$work/disk"; }
linux_survey() { build/bench/cdcoverage --format=csv "$work/disk"; }
read -r add_ms survey_ms < <(alternating 11 fresh linux_add linux_survey)
echo "the same on Linux: add --no-fixity $add_ms ms, cdcoverage's survey $survey_ms ms"

build/bench/bench/make_catalog "$work/archive.db" 100 1000 >/dev/null
find_on() { "$@" find --station=VELK --from=2006-01-02 --to=2006-01-03; }
echo "find, one station, one day, 100 000 file rows: $(runs 11 : find_on "$loader" "$build/cdarchive.exe" \
  --catalog="$(windows_path "$work/archive.db")" | middle) ms under Wine" \
  "(an empty process: $(runs 11 : "$loader" "$build/cdarchive.exe" --version | middle) ms);" \
  "on Linux $(runs 11 : find_on build/bench/cdarchive --catalog="$work/archive.db" | middle) ms"
/usr/lib/wine/wineserver -k || true
