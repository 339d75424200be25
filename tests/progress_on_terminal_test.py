#!/usr/bin/env python3
"""Both programs show their progress on standard error when it is a terminal,
and only then: run once with standard error on a pseudo-terminal and once on a
pipe, the logs and standard output are byte for byte the same, the terminal saw
the progress line, and the line is erased at the end.

usage: progress_on_terminal_test.py CDVERIFY CDCOVERAGE MAKE_LARGE_DISK
"""
import os
import pty
import subprocess
import sys
import tempfile


def screen(written):
    """What a terminal's last line shows: a carriage return starts the line
    again, and characters overwrite those before them."""
    line = []
    column = 0
    for c in written.split("\n")[-1]:
        if c == "\r":
            column = 0
            continue
        if column < len(line):
            line[column] = c
        else:
            line.append(c)
        column += 1
    return "".join(line).rstrip(" ")


def run(command, cwd, on_terminal):
    """Runs command; returns its exit status, standard output and what its
    standard error received."""
    if not on_terminal:
        done = subprocess.run(command, cwd=cwd, capture_output=True)
        return done.returncode, done.stdout, done.stderr.decode("utf-8", "replace")
    master, slave = pty.openpty()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE, stderr=slave)
    os.close(slave)
    received = b""
    while True:
        try:
            chunk = os.read(master, 65536)
        except OSError:  # the terminal's other end closed
            break
        if not chunk:
            break
        received += chunk
    os.close(master)
    out = process.stdout.read()
    return process.wait(), out, received.decode("utf-8", "replace")


def check(condition, message):
    if not condition:
        print("FAILED: " + message)
        sys.exit(1)


def compare(name, command, work, expected_line):
    runs = {}
    for on_terminal in (False, True):
        cwd = os.path.join(work, name + ("-terminal" if on_terminal else "-pipe"))
        os.mkdir(cwd)
        os.symlink(os.path.join(work, "disk"), os.path.join(cwd, "disk"))
        runs[on_terminal] = run(command, cwd, on_terminal) + (cwd,)
    status, out, err, cwd = runs[False]
    check(err == "", "%s wrote to standard error on a pipe: %r" % (name, err))
    status_t, out_t, err_t, cwd_t = runs[True]
    check((status_t, out_t) == (status, out),
          "%s: exit status or standard output differ on a terminal" % name)
    check(expected_line in err_t, "%s: no progress on the terminal: %r" % (name, err_t[:300]))
    check("files listed so far" in err_t, "%s: no counts in the progress: %r" % (name, err_t[:300]))
    check(screen(err_t) == "", "%s: the progress line was left: %r" % (name, screen(err_t)))
    for log in sorted(os.listdir(cwd)):
        if log == "disk":
            continue
        with open(os.path.join(cwd, log), "rb") as a, open(os.path.join(cwd_t, log), "rb") as b:
            check(a.read() == b.read(), "%s: %s differs on a terminal" % (name, log))
    print("%s: progress shown on a terminal (%d bytes), erased, outputs unchanged"
          % (name, len(err_t)))


def main():
    cdverify, cdcoverage, make_large_disk = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as work:
        subprocess.run([make_large_disk, os.path.join(work, "disk"), "2000"], check=True,
                       stdout=subprocess.DEVNULL)
        compare("cdverify", [cdverify, "-archDisk=disk"], work, "cdverify: disk disk: ")
        compare("cdcoverage", [cdcoverage, "--format=csv", "disk"], work,
                "cdcoverage: input 1 of 1, disk: ")


if __name__ == "__main__":
    main()
