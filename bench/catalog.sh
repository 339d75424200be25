#!/usr/bin/env bash
# The catalogue's figures: a catalogue of DISKS disks of FILES files (default
# 1000 of 1000: a million file rows) made by bench/make_catalog, then find for
# one station and one day, availability of one station over the whole archive,
# the bytes of the file per file row; and add of a 20 000-file disk, without
# fixity beside cdcoverage's survey of the same disk (the two taking turns,
# medians of eleven), and with. Medians of five runs elsewhere. Then the same
# figures against a PostgreSQL server of the benchmark's own, where one can
# start (tests/support/postgres_session.sh). Builds the optimized preset first.
#   bench/catalog.sh [DISKS] [FILES]
set -euo pipefail
cd "$(dirname "$0")/.."
disks=${1:-1000}
files=${2:-1000}
cmake --workflow --preset bench >/dev/null
work=build/bench/catalog
rm -rf "$work" && mkdir -p "$work"

source bench/timing.sh

# figures CATALOG: makes the catalogue and times the queries on it.
figures() {
  local catalog=$1
  echo "making a catalogue of $disks disks of $files files in $catalog..."
  local start=$(date +%s)
  build/bench/bench/make_catalog "$catalog" "$disks" "$files"
  echo "made in $(($(date +%s) - start)) s"
  if [ -f "$catalog" ]; then
    local bytes=$(stat -c %s "$catalog")
    echo "catalogue: $bytes bytes, $((bytes / (disks * files))) bytes per file row"
  fi
  echo "the program's start alone (--version): $(median $cdarchive --version) ms"
  echo "find, one station, one day in the middle: $(median $cdarchive --catalog="$catalog" \
    find --station=VELK --from=2006-06-15 --to=2006-06-16) ms"
  echo "availability, one station, the whole archive: $(median $cdarchive \
    --catalog="$catalog" availability --station=VELK) ms"
  echo "availability --extent, the whole archive: $(median $cdarchive \
    --catalog="$catalog" availability --extent) ms"
}

cdarchive=build/bench/cdarchive
echo "== SQLite"
figures "$work/archive.db"

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
  echo "== PostgreSQL (a server of the benchmark's own, on a Unix socket)"
  url=$(cat "$server/url")
  figures "$url"
  psql "$url" -Atc "SELECT pg_total_relation_size('file') / $((disks * files)) || ' bytes per file row'"
  emptied() { psql "$url" -qc "DROP SCHEMA public CASCADE; CREATE SCHEMA public" 2>/dev/null; }
  add() { $cdarchive --catalog="$url" add "$work/disk"; }
  echo "add of a 20000-file disk: $(runs 5 emptied add | middle) ms"
  sh tests/support/postgres_session.sh cleanup "$server"
else
  echo "== PostgreSQL: $(cat "$server/skip")"
fi
