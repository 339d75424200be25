#!/bin/sh
# The README's recipe for a whole archive, run on a few disks: a JSON summary per
# disk made with GNU parallel, then merged; the merge must equal the direct run.
# Then the timeline: well-formed XML, and bounded in size for 500 disks of
# 100 000 files in all.
# The summary must also follow its JSON Schema.
# usage: coverage_recipe_test.sh CDCOVERAGE MAKE_SAMPLE_DISK MAKE_SUMMARIES SCHEMA
set -eu
cdcoverage=$1 make_sample_disk=$2 make_summaries=$3 schema=$4
if ! command -v parallel > /dev/null; then
  echo "GNU parallel is not installed: skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir archive
for n in 1 2 3; do "$make_sample_disk" archive/disk00$n; done

# The recipe.
ls -d archive/disk* | parallel "$cdcoverage" --format=json --output={}.json {}
"$cdcoverage" --format=json archive/*.json > merged.json

"$cdcoverage" --format=json archive/disk001 archive/disk002 archive/disk003 > direct.json
cmp merged.json direct.json
python3 - "$schema" merged.json << 'PY'
import json, sys, jsonschema
jsonschema.validate(json.load(open(sys.argv[2])), json.load(open(sys.argv[1])))
PY

check_svg() {
  python3 - "$1" "$2" << 'PY'
import sys
import xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == "{http://www.w3.org/2000/svg}svg", root.tag
rects = len(root.findall(".//{http://www.w3.org/2000/svg}rect"))
assert rects <= int(sys.argv[2]), "%d bars" % rects
print("%s: %d bars, %s x %s" % (sys.argv[1], rects, root.get("width"), root.get("height")))
PY
}
"$cdcoverage" --svg=sample.svg archive/*.json > /dev/null
check_svg sample.svg 100
python3 "$make_summaries" 500 200 many
"$cdcoverage" --svg=many.svg many/*.json > /dev/null
check_svg many.svg 20000
