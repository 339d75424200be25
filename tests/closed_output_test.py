#!/usr/bin/env python3
"""cdarchive and cdcoverage never end with success when standard output could
not be written: every command written to a full device (/dev/full), and to a
pipe whose reader went away, exits 1 with a message; the files named by options
are still written whole.

usage: closed_output_test.py CDARCHIVE CDCOVERAGE MAKE_SAMPLE_DISK
"""
import os
import subprocess
import sys
import tempfile

CDARCHIVE, CDCOVERAGE, MAKE_SAMPLE_DISK = map(os.path.abspath, sys.argv[1:4])
failures = []


def run(command, cwd, stdout):
    done = subprocess.run(command, cwd=cwd, stdout=stdout, stderr=subprocess.PIPE)
    return done.returncode, done.stderr.decode("utf-8", "replace")


def expect_failed_output(command, cwd, stdout, program):
    status, err = run(command, cwd, stdout)
    said = program + ": standard output cannot be written"
    if status != 1 or said not in err:
        failures.append("%s: exit %d, standard error %r" % (" ".join(command), status, err))


def closed_pipe():
    """A pipe whose reading end is closed: a write to it fails at once."""
    reading, writing = os.pipe()
    os.close(reading)
    return writing


with tempfile.TemporaryDirectory() as work:
    subprocess.run([MAKE_SAMPLE_DISK, "disk"], cwd=work, check=True, capture_output=True)
    subprocess.run([CDARCHIVE, "add", "--as=d", "disk"], cwd=work, check=True, capture_output=True)
    archive_commands = [
        ["--help"], ["--version"], ["add", "--help"], ["disks"], ["manifest", "d"],
        ["find", "--station=VELK"], ["availability"], ["availability", "--format=json"],
        ["check", "--as=d", "disk"], ["add", "--as=d2", "disk"],
    ]
    with open("/dev/full", "wb") as full:
        for arguments in archive_commands:
            expect_failed_output([CDARCHIVE] + arguments, work, full, "cdarchive")
        for arguments in [["--help"], ["--version"], ["disk"], ["--format=json", "disk"]]:
            expect_failed_output([CDCOVERAGE] + arguments, work, full, "cdcoverage")
    pipe = closed_pipe()
    for arguments in [["manifest", "d"], ["disks"], ["--help"]]:
        expect_failed_output([CDARCHIVE] + arguments, work, pipe, "cdarchive")

    # A closed pipe still leaves the page and the timeline written whole.
    outputs = ["--html=page.html", "--svg=timeline.svg"]
    subprocess.run([CDCOVERAGE, "--output=whole.txt", "--html=whole.html", "--svg=whole.svg",
                    "disk"], cwd=work, check=True, capture_output=True)
    expect_failed_output([CDCOVERAGE] + outputs + ["disk"], work, pipe, "cdcoverage")
    os.close(pipe)
    for written, whole in [("page.html", "whole.html"), ("timeline.svg", "whole.svg")]:
        def content(name):
            path = os.path.join(work, name)
            return open(path, "rb").read() if os.path.exists(path) else None
        if content(written) is None or content(written) != content(whole):
            failures.append(written + " is not written whole after the pipe closed")

for failure in failures:
    print("FAILED:", failure)
print("%d passed, %d failed" % (1 if not failures else 0, 1 if failures else 0))
sys.exit(1 if failures else 0)
