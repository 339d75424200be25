#!/usr/bin/env bash
# The catalogue's figures, each beside the target it is held to: catalogues of
# DISKS disks of 1000 files each (default 1 000 and 10 000: a million and ten
# million file rows), made by bench/make_catalog, first in SQLite, then in a
# PostgreSQL server of the benchmark's own where one can start
# (tests/support/postgres_session.sh), held to three times SQLite's figures.
# The program's start alone; then for each: find for
# one station and one day, availability of every station and of one over the
# whole archive, --extent, the bytes per file row; cdcoverage --catalog of the
# 1 000-disk catalogue to text and to the page, with its peak memory. Then add
# of a 20 000-file disk, without fixity beside cdcoverage's survey of the same
# disk (the two taking turns, medians of eleven), and with. Medians of five
# runs elsewhere, warm cache, whole processes. Builds the optimized preset.
#   bench/catalog.sh [DISKS...]
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000)
files=1000
cmake --workflow --preset bench >/dev/null
work=build/bench/catalog
rm -rf "$work" && mkdir -p "$work"

source bench/timing.sh

cdarchive=build/bench/cdarchive
declare -A sqlite_ms  # by figure and size: what PostgreSQL is held to (bytes too)

# figure NAME MS LIMIT: one line, the figure beside its target (under LIMIT ms).
figure() {
  local verdict=met
  [ "$2" -lt "$3" ] || verdict="NOT met"
  printf '  %-48s %6d ms   target: under %d ms (%s)\n' "$1" "$2" "$3" "$verdict"
}

# timed STORE SIZE NAME LIMIT COMMAND...: the median of the command, as a
# figure; SQLite's figures are kept, PostgreSQL's are held to three times them.
timed() {
  local store=$1 size=$2 name=$3 limit=$4
  shift 4
  local ms
  ms=$(median "$@")
  if [ "$store" = SQLite ]; then
    sqlite_ms[$name,$size]=$ms
  else
    limit=$((3 * ${sqlite_ms[$name,$size]}))
  fi
  figure "$name" "$ms" "$limit"
}

# figures STORE CATALOG DISKS: makes the catalogue and times the queries on it.
figures() {
  local store=$1 catalog=$2 disks=$3
  local start=$(date +%s)
  build/bench/bench/make_catalog "$catalog" "$disks" "$files"
  echo "$store, $disks disks of $files files, made in $(($(date +%s) - start)) s:"
  # A day in the middle of the archive, which starts on 2006-01-01.
  local day=$(date -u -d "2006-01-01 + $((disks * files / 2 / 1440)) days" +%F)
  timed "$store" "$disks" "find, one station, one day ($day)" 10 \
    $cdarchive --catalog="$catalog" find --station=VELK --from="$day" --to="$day"T23:59:59
  timed "$store" "$disks" "availability of every station" 100 \
    $cdarchive --catalog="$catalog" availability
  timed "$store" "$disks" "availability of one station" 100 \
    $cdarchive --catalog="$catalog" availability --station=VELK
  timed "$store" "$disks" "availability --extent" 20 \
    $cdarchive --catalog="$catalog" availability --extent
  echo "  $($cdarchive --catalog="$catalog" availability --extent | tail -n 1)"
}

# coverage CATALOG: cdcoverage --catalog to text and to the page.
coverage() {
  local catalog=$1 format
  for format in text page; do
    local page=()
    [ $format = text ] || page=(--html="$work/archive.html")
    local runs=() memory
    for run in 1 2 3; do
      runs+=("$(seconds build/bench/cdcoverage --catalog="$catalog" "${page[@]}")")
    done
    memory=$(/usr/bin/time -f %M build/bench/cdcoverage --catalog="$catalog" "${page[@]}" \
      2>&1 >/dev/null | tail -n 1)
    figure "cdcoverage --catalog to $format (peak $((memory / 1024)) MB)" \
      "$(printf '%s\n' "${runs[@]}" | middle)" 5000
  done
}

# bytes_per_row STORE BYTES DISKS: the catalogue's bytes per file row, beside
# 150 (PostgreSQL: three times SQLite's).
bytes_per_row() {
  local per_row=$(($2 / ($3 * files))) limit=150
  if [ "$1" = SQLite ]; then sqlite_ms[bytes,$3]=$per_row; else limit=$((3 * ${sqlite_ms[bytes,$3]})); fi
  local verdict=met
  [ "$per_row" -le "$limit" ] || verdict="NOT met"
  printf '  %-48s %6d B    target: at most %d B (%s)\n' "bytes per file row" "$per_row" "$limit" \
    "$verdict"
}

figure "the program's start alone (--version)" "$(median $cdarchive --version)" 10
for disks in "${sizes[@]}"; do
  catalog="$work/archive-$disks.db"
  figures SQLite "$catalog" "$disks"
  bytes_per_row SQLite "$(stat -c %s "$catalog")" "$disks"
  [ "$disks" != 1000 ] || coverage "$catalog"
  rm -f "$catalog"*
done

build/bench/tools/datagen/make_large_disk "$work/disk" 20000 >/dev/null
build/bench/tools/datagen/make_large_disk "$work/small" 10 >/dev/null
$cdarchive --catalog="$work/held.db" add "$work/small" >/dev/null
# held: a catalogue that already holds a disk, as for every add but the first;
# none: no catalogue, so that add makes it too. The survey that add is measured
# against reads what add --no-fixity reads; the fixity pass reads every byte
# besides.
held() { rm -f "$work/add.db"* && cp "$work/held.db" "$work/add.db"; }
none() { rm -f "$work/add.db"*; }
add_no_fixity() { $cdarchive --catalog="$work/add.db" add --no-fixity "$work/disk"; }
add() { $cdarchive --catalog="$work/add.db" add "$work/disk"; }
survey() { build/bench/cdcoverage --format=csv "$work/disk"; }
read -r add_ms survey_ms < <(alternating 11 held add_no_fixity survey)
echo "add --no-fixity of a 20000-file disk: $add_ms ms, cdcoverage's survey of it:" \
  "$survey_ms ms (medians of 11, taking turns):" \
  "$(awk "BEGIN { printf \"%.2f\", $add_ms / $survey_ms }")x"
echo "add of it with fixity: $(runs 5 held add | middle) ms" \
  "(into a new catalogue: $(runs 5 none add | middle) ms)"

server=/tmp/cdverify-bench-postgres
sh tests/support/postgres_session.sh setup "$server" >/dev/null
if [ -f "$server/url" ]; then
  echo "== PostgreSQL (a server of the benchmark's own, on a Unix socket), held to 3x SQLite"
  url=$(cat "$server/url")
  emptied() { psql "$url" -qc "DROP SCHEMA public CASCADE; CREATE SCHEMA public" 2>/dev/null; }
  for disks in "${sizes[@]}"; do
    emptied
    figures PostgreSQL "$url" "$disks"
    bytes_per_row PostgreSQL "$(psql "$url" -Atc "SELECT pg_database_size(current_database())")" \
      "$disks"
  done
  add() { $cdarchive --catalog="$url" add "$work/disk"; }
  echo "add of a 20000-file disk: $(runs 5 emptied add | middle) ms"
  sh tests/support/postgres_session.sh cleanup "$server"
else
  echo "== PostgreSQL: $(cat "$server/skip")"
fi
