#!/bin/sh
# Brings SQLite's amalgamation (sqlite3.c and sqlite3.h, public domain) from
# the npm registry package that carries it, into a folder:
#   third_party/sqlite/fetch.sh PACKAGE@VERSION FOLDER
# Only the build calls it, where the folder has no amalgamation yet; the build
# then checks the files' SHA-256 against the ones it pins. Nothing is run from
# the package: it is unpacked, not installed.
set -eu
package=$1
folder=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$package" >/dev/null)
tar -xzf "$work"/*.tgz -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
mkdir -p "$folder"
mv "$work"/package/deps/sqlite3/sqlite3.c "$work"/package/deps/sqlite3/sqlite3.h "$folder"/
