#!/usr/bin/env python3
"""Writes synthetic per-disk cdcoverage summaries, as `cdcoverage --format=json`
writes them for one disk, for benchmarks and size tests.

usage: make_summaries.py DISKS FILES_PER_DISK OUTDIR

Disk k holds FILES_PER_DISK one-minute files of station VELK one after another,
with a short gap now and then, so the disks follow each other in time.
"""
import datetime
import json
import os
import sys

EPOCH = datetime.datetime(1970, 1, 1)


def iso(seconds):
    return (EPOCH + datetime.timedelta(seconds=seconds)).strftime("%Y-%m-%dT%H:%M:%S")


def main():
    disks, per_disk, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    os.makedirs(out, exist_ok=True)
    t = 1150372801
    for k in range(disks):
        name = "disk%05d" % k
        files = []
        for i in range(per_disk):
            end = t + 60
            files.append({"path": "%s/20060615/P%07d.DAT" % (name, i), "usable": True,
                          "station": "VELK", "start": iso(t), "end": iso(end),
                          "latitude": "49.1234N", "longitude": "16.5678E", "altitude": "300",
                          "frequency": 10, "clockWarnings": []})
            t = end + (30 if i % 97 == 0 else 0)
        summary = {"version": 2, "gapToleranceSeconds": 0, "from": None, "to": None,
                   "stations": [], "disks": [{"disk": name, "fileCount": per_disk,
                                              "first": files[0]["start"],
                                              "last": files[-1]["end"], "files": files}],
                   "diskGaps": [], "diskOverlaps": []}
        with open(os.path.join(out, name + ".json"), "w") as f:
            json.dump(summary, f, separators=(",", ":"))


if __name__ == "__main__":
    main()
