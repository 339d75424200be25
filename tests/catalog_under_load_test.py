#!/usr/bin/env python3
"""The catalogue under the faults of real use: cdarchive add killed at any
moment leaves the catalogue exactly as before that disk (whole, never half a
disk, its kept spans the union of its files), and four adds at once into one
catalogue each wait for the others and lose nothing; the four adds also into
the tests' PostgreSQL server, which then answers availability as SQLite does,
where
CDVERIFY_TEST_POSTGRES_DIR names one (tests/support/postgres_session.sh).

usage: catalog_under_load_test.py CDARCHIVE MAKE_LARGE_DISK
"""
import glob
import os
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time


def check(condition, message):
    if not condition:
        print("FAILED: " + message)
        sys.exit(1)


def union(spans):
    """The union of (start, end) spans, touching ones joined, none of no length."""
    joined = []
    for start, end in sorted(spans):
        if joined and start <= joined[-1][1]:
            joined[-1][1] = max(joined[-1][1], end)
        else:
            joined.append([start, end])
    return [(start, end) for start, end in joined if end > start]


def state(catalog):
    """The catalogue's integrity and what it holds: (disk, files) per disk."""
    db = sqlite3.connect(catalog)
    try:
        check(db.execute("PRAGMA integrity_check").fetchone()[0] == "ok",
              "the catalogue is damaged")
        check(db.execute("PRAGMA foreign_key_check").fetchall() == [],
              "files without their disk")
        files = {}
        for key in db.execute("SELECT d.stream, f.station, f.stream, f.start_time, f.end_time"
                              " FROM file f JOIN disk d ON d.id = f.disk_id WHERE f.usable"):
            files.setdefault(key[:3], []).append(key[3:])
        kept = {}
        for key in db.execute("SELECT disk_stream, station, stream, start_time, end_time"
                              " FROM kept_span ORDER BY start_time"):
            kept.setdefault(key[:3], []).append(key[3:])
        check(kept == {key: union(spans) for key, spans in files.items() if union(spans)},
              "the kept spans are not the union of the files")
        return db.execute("SELECT d.label, count(f.seq), d.file_count FROM disk d "
                          "LEFT JOIN file f ON f.disk_id = d.id GROUP BY d.id "
                          "ORDER BY d.label").fetchall()
    finally:
        db.close()


def main():
    cdarchive, make_large_disk = sys.argv[1:3]
    with tempfile.TemporaryDirectory() as work:
        def disk(name, files, start):
            path = os.path.join(work, name)
            subprocess.run([make_large_disk, path, str(files), "--start=" + start], check=True,
                           stdout=subprocess.DEVNULL)
            return path

        first = disk("first", 100, "2006-06-01T00:00:00")
        big = disk("big", 20000, "2006-07-01T00:00:00")
        base = os.path.join(work, "base.db")
        subprocess.run([cdarchive, "add", "--catalog=" + base, first], check=True,
                       stdout=subprocess.DEVNULL)
        before = state(base)
        whole = os.path.join(work, "whole.db")
        shutil.copy(base, whole)
        started = time.monotonic()
        subprocess.run([cdarchive, "add", "--catalog=" + whole, big], check=True,
                       stdout=subprocess.DEVNULL)
        duration = time.monotonic() - started
        after = state(whole)
        check(after == sorted(before + [("big", 20000, 20000)]), "the whole add: %r" % after)

        # Killed at four moments of the survey, then at four inside the writing
        # (once the write-ahead log has begun to grow).
        seen = set()
        for k in range(8):
            catalog = os.path.join(work, "killed%d.db" % k)
            shutil.copy(base, catalog)
            process = subprocess.Popen([cdarchive, "add", "--catalog=" + catalog, big],
                                       stdout=subprocess.DEVNULL)
            if k < 4:
                time.sleep(duration * 0.2 * (k + 1))
            else:
                log = catalog + "-wal"
                while process.poll() is None and (
                        not os.path.exists(log) or os.path.getsize(log) == 0):
                    time.sleep(0.0005)
                time.sleep(0.002 * (k - 4))
            process.send_signal(signal.SIGKILL)
            process.wait()
            now = state(catalog)
            check(now in (before, after), "after kill %d: %r" % (k, now))
            seen.add("as before" if now == before else "with the disk")
        print("killed at four moments of the survey and four of the writing: "
              "the catalogue was whole each time (%s)"
              % ", ".join(sorted(seen)))

        # Four adds at once into one catalogue that none has made yet, a few
        # times: each waits while another makes it.
        disks = [disk("parallel%d" % i, 2000, "2006-08-0%dT00:00:00" % (i + 1)) for i in range(4)]
        for round in range(5):
            together = os.path.join(work, "together%d.db" % round)
            processes = [subprocess.Popen([cdarchive, "add", "--catalog=" + together, d],
                                          stdout=subprocess.DEVNULL) for d in disks]
            check(all(p.wait() == 0 for p in processes), "an add failed beside the others")
            check(state(together) == [("parallel%d" % i, 2000, 2000) for i in range(4)],
                  "four adds at once: %r" % state(together))
        print("four adds at once into a new catalogue, five times: every disk and file is there")

        server = os.environ.get("CDVERIFY_TEST_POSTGRES_DIR", "")
        url_file = os.path.join(server, "url")
        if not server or not os.path.exists(url_file):
            print("no PostgreSQL server: the four adds into one were not tried there")
            return
        with open(url_file) as f:
            url = f.read().strip()
        # Emptied first: the server is the catalogue tests' too.
        psql = shutil.which("psql") or sorted(glob.glob("/usr/lib/postgresql/*/bin/psql"))[-1]
        subprocess.run([psql, "-q", url, "-c", "DROP SCHEMA public CASCADE; CREATE SCHEMA public"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        processes = [subprocess.Popen([cdarchive, "add", "--catalog=" + url, d],
                                      stdout=subprocess.DEVNULL) for d in disks]
        check(all(p.wait() == 0 for p in processes), "an add into PostgreSQL failed")
        listed = subprocess.run([cdarchive, "disks", "--format=csv", "--catalog=" + url], check=True,
                                capture_output=True, text=True).stdout.splitlines()
        for i in range(4):
            check(any(line.startswith("parallel%d|" % i) and "|2000|" in line for line in listed),
                  "parallel%d is not in the PostgreSQL catalogue whole: %r" % (i, listed))
        def availability(catalog):
            return subprocess.run([cdarchive, "availability", "--format=request",
                                   "--catalog=" + catalog], check=True, capture_output=True,
                                  text=True).stdout
        check(availability(url) == availability(together),
              "PostgreSQL's availability differs from SQLite's")
        print("four adds at once into PostgreSQL: every disk and file is there, and its "
              "availability is SQLite's")


if __name__ == "__main__":
    main()
