#!/usr/bin/env bash
# Runs one of the README's two workflows on a Debian machine, installing first
# the Debian packages it needs that are missing:
#   tools/workflow.sh sample   build, write the sample disk, verify it, show the log
#   tools/workflow.sh test     build and run every test
# As root it installs them with apt-get, saying which; otherwise it names the
# command to run by hand and stops. Then it runs cmake --workflow --preset NAME.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=${1:-}
case "$preset" in
  sample | test) ;;
  *)
    echo "usage: tools/workflow.sh sample|test" >&2
    exit 2
    ;;
esac

missing=()
# need PACKAGE TEST...: PACKAGE is missing unless the test command succeeds.
need() {
  local package=$1
  shift
  "$@" >/dev/null 2>&1 || missing+=("$package")
}
has_command() { command -v "$1"; }
has_file() { [ -e "$1" ]; }

need cmake has_command cmake
need g++ has_command g++
need make has_command make
need libgtest-dev has_file /usr/include/gtest/gtest.h
need libcli11-dev has_file /usr/include/CLI/CLI.hpp
need nlohmann-json3-dev has_file /usr/include/nlohmann/json.hpp
need libarchive-dev has_file /usr/include/archive.h
need libsqlite3-dev has_file /usr/include/sqlite3.h
need libpq-dev has_file /usr/include/postgresql/libpq-fe.h
need libssl-dev has_file /usr/include/openssl/evp.h
need libblkid-dev has_file /usr/include/blkid/blkid.h
if [ "$preset" = test ]; then
  need python3 has_command python3
  need xorriso has_command xorriso                # the disk image tests
  need parallel has_command parallel              # the archive recipe's test
  need python3-jsonschema python3 -c "import jsonschema"
  need postgresql ls /usr/lib/postgresql/*/bin/initdb  # a server the catalogue's tests start
  need chromium has_command chromium              # the page's test, in a real browser
  need nodejs has_command node                    # ... driven by playwright-core
  need npm has_command npm
fi

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "tools/workflow.sh: the $preset workflow needs Debian packages that are missing." >&2
    echo "Install them as root, then run this again:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
  echo "tools/workflow.sh: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q "${missing[@]}"
fi

# The browser driver comes from the npm registry, at the version the lock file names.
if [ "$preset" = test ] && [ ! -d tests/browser/node_modules/playwright-core ]; then
  npm ci --prefix tests/browser --no-audit --no-fund ||
    echo "tools/workflow.sh: npm ci failed: the page's browser test will be skipped" >&2
fi

exec cmake --workflow --preset "$preset"
