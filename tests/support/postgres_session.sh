#!/bin/sh
# A PostgreSQL server of the tests' own, in a cluster of its own that listens
# only on a Unix socket in DIR, run as an unprivileged user (postgres, or
# nobody, when the tests run as root); its database is left to the tests.
#   postgres_session.sh setup DIR    start it; its URL goes to DIR/url, or
#                                    where none can start, the reason to DIR/skip
#   postgres_session.sh cleanup DIR  stop it and remove DIR
set -u
action=$1
dir=$2
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
as=""
if [ "$(id -u)" = 0 ]; then
  if id postgres >/dev/null 2>&1; then user=postgres; else user=nobody; fi
  as="runuser -u $user --"
fi

skip() {
  echo "$1" > "$dir/skip"
  echo "no PostgreSQL server for the tests: $1"
  exit 0
}

case "$action" in
  setup)
    if [ -f "$dir/data/postmaster.pid" ]; then
      $as "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1
    fi
    rm -rf "$dir" && mkdir -p "$dir"
    [ -n "$bin" ] && [ -x "$bin/initdb" ] || skip "PostgreSQL is not installed (Debian: postgresql)"
    [ -z "$as" ] || chown "$user" "$dir"
    $as "$bin/initdb" -D "$dir/data" -A trust -U cdverify --no-sync >"$dir/initdb.log" 2>&1 ||
      skip "initdb failed: $(tail -n 1 "$dir/initdb.log")"
    $as "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
      -o "-c listen_addresses='' -k $dir -c fsync=off" start >/dev/null 2>&1 ||
      skip "the server did not start: $(tail -n 1 "$dir/server.log")"
    $as "$bin/createdb" -h "$dir" -U cdverify catalog_test ||
      skip "its database could not be made"
    echo "postgresql:///catalog_test?host=$dir&user=cdverify" > "$dir/url"
    echo "PostgreSQL server for the tests: $(cat "$dir/url")"
    ;;
  cleanup)
    if [ -f "$dir/data/postmaster.pid" ]; then
      $as "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1
    fi
    rm -rf "$dir"
    ;;
esac
