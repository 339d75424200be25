#!/usr/bin/env python3
"""Writes synthetic per-disk cdcoverage summaries, as `cdcoverage --format=json`
writes them for one disk, for benchmarks, size tests and the page's tests.

usage: make_summaries.py [--variety] DISKS FILES_PER_DISK OUTDIR

Disk k holds FILES_PER_DISK one-minute files of station VELK one after another,
with a short gap now and then, so the disks follow each other in time.
With --variety the archive also has what an operator looks for: every fifth
disk starts half an hour after the one before (a longer gap), every seventh
overlaps it by two minutes, every eleventh has an unusable file, a clock warning
and a change of frequency, and the odd disks hold a second station, MORA.
"""
import datetime
import json
import os
import sys

EPOCH = datetime.datetime(1970, 1, 1)


def iso(seconds):
    return (EPOCH + datetime.timedelta(seconds=seconds)).strftime("%Y-%m-%dT%H:%M:%S")


def record(disk, i, station, start, frequency=10, warnings=()):
    prefix = "P" if station == "VELK" else station[0]
    return {"path": "%s/20060615/%s%07d.DAT" % (disk, prefix, i), "usable": True,
            "station": station, "start": iso(start), "end": iso(start + 60),
            "latitude": "49.1234N", "longitude": "16.5678E", "altitude": "300",
            "frequency": frequency, "clockWarnings": list(warnings)}


def main():
    args = sys.argv[1:]
    variety = "--variety" in args
    args = [a for a in args if a != "--variety"]
    disks, per_disk, out = int(args[0]), int(args[1]), args[2]
    os.makedirs(out, exist_ok=True)
    t = 1150372801
    for k in range(disks):
        name = "disk%05d" % k
        if variety and k > 0 and k % 5 == 0:
            t += 1800
        if variety and k > 0 and k % 7 == 0:
            t -= 120
        files = []
        first = t
        for i in range(per_disk):
            odd = variety and k % 11 == 3 and i == per_disk // 2
            files.append(record(name, i, "VELK", t, 20 if odd else 10,
                                ["clock drift found"] if odd else []))
            t += 60 + (30 if i % 97 == 0 else 0)
        if variety and k % 2 == 1:
            files += [record(name, i, "MORA", first + 60 * i) for i in range(per_disk // 2)]
        if variety and k % 11 == 3:
            files.append({"path": "%s/20060615/BROKEN.DAT" % name, "usable": False,
                          "station": "VELK", "clockWarnings": []})
        usable = [f for f in files if f["usable"]]
        summary = {"version": 2, "gapToleranceSeconds": 0, "from": None, "to": None,
                   "stations": [], "disks": [{"disk": name, "fileCount": len(files),
                                              "first": min(f["start"] for f in usable),
                                              "last": max(f["end"] for f in usable),
                                              "files": files}],
                   "diskGaps": [], "diskOverlaps": []}
        with open(os.path.join(out, name + ".json"), "w") as f:
            json.dump(summary, f, separators=(",", ":"))


if __name__ == "__main__":
    main()
