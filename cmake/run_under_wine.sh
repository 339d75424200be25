#!/bin/sh
# Runs a Windows program under Wine: run_under_wine.sh WINE PROGRAM [ARGUMENTS...]
# (the environment as the caller sets it). Wine now and then fails to start a
# program at all: an exit status with not one byte written. Such a start is
# tried again, twice at most; a program that ran, whatever it said or how it
# ended, is never run again.
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
for attempt in 1 2 3; do
  if [ "$attempt" -gt 1 ]; then
    echo "run_under_wine.sh: Wine did not start $2 (exit $status, no output): trying again" >&2
  fi
  "$@" >"$out" 2>"$err"
  status=$?
  if [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ]; then break; fi
done
cat "$out"
cat "$err" >&2
exit "$status"
