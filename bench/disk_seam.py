#!/usr/bin/env python3
"""Measures what verifying a disk costs against a floor: the least a verifier
must do per data file (tools/floor: list, open once, read the first block and
the last two bytes, close, append one log line).

  bench/disk_seam.py [--files N] [--rounds R] [--shuffled]
                     [--windows auto|mingw|mingw64|none]

Builds the optimized native preset and the Windows presets, writes a disk of
N data files (default 20000, 200 to a date directory, 7 256 bytes each), and
runs cdverify and the floor side by side, R rounds each (default 5), warm
cache, reporting medians and their ratio; then the log lines each wrote, and
the floor again writing as many lines as cdverify, one open, append and close
each (what the logs alone cost, which no verifier escapes). Then counts
system calls per verified file with strace on a 1000-file disk, and peak
memory at 2000 and N files. --shuffled writes files of separate times (one every 10 minutes)
dealt to the names in a random order, so that the intervals arrive out of
order.

Windows "auto": the 32-bit build (the one shipped) where this machine runs
32-bit code, in a Wine prefix of its own made as WINEARCH=win32 (a pure 32-bit
prefix starts in seconds), beside the 64-bit build; else the 64-bit build
alone, saying why.
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WORK = os.path.join(ROOT, "build", "bench", "disk-seam")


def run(command, **options):
    return subprocess.run(command, check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          text=True, **options)


def build(preset, targets):
    run(["cmake", "--preset", preset], cwd=ROOT)
    run(["cmake", "--build", "--preset", preset, "--target", *targets], cwd=ROOT)


def make_disk(files, shuffled=False):
    # Short names: cdverify keeps a disk setting of at most 49 characters.
    disk = os.path.join(WORK, ("mix-%d" if shuffled else "disk-%d") % files)
    if not os.path.isdir(disk):
        layout = ["--step=600", "--shuffle"] if shuffled else []
        run([os.path.join(ROOT, "build/bench/tools/datagen/make_large_disk"), disk, str(files),
             *layout])
    return disk


def timed(command, cwd, env=None):
    """Seconds one run takes, its log removed first."""
    for name in ("log.out", "floor.log"):
        if os.path.exists(os.path.join(cwd, name)):
            os.remove(os.path.join(cwd, name))
    start = time.perf_counter()
    subprocess.run(command, cwd=cwd, env=env, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def side_by_side(label, program, floor, cwd, rounds, env=None):
    # Warms the cache and, under Wine, the prefix; and counts the log lines
    # each side writes. Each log line is a file opened, appended to and closed:
    # cdverify's logs name every file and then every interval of the report,
    # the floor's only the files. The floor again, writing as many lines as
    # cdverify does, tells what the logs alone cost.
    timed(program, cwd, env)
    our_lines = lines_of(os.path.join(cwd, "log.out"))
    timed(floor, cwd, env)
    floor_lines = lines_of(os.path.join(cwd, "floor.log"))
    with_lines = floor + [str(max(our_lines - floor_lines, 0))]
    ours, theirs, theirs_with_lines = [], [], []
    for _ in range(rounds):
        ours.append(timed(program, cwd, env))
        theirs.append(timed(floor, cwd, env))
        theirs_with_lines.append(timed(with_lines, cwd, env))
    a, b, c = (statistics.median(times) for times in (ours, theirs, theirs_with_lines))
    print("%-8s cdverify %.3f s   floor %.3f s   ratio %.2f   (medians of %d)" %
          (label, a, b, a / b, rounds))
    print("%-8s log lines: cdverify %d   floor %d; the floor writing as many as cdverify: "
          "%.3f s, %.2f the floor, cdverify %.2f of it" % (label, our_lines, floor_lines, c,
                                                          c / b, a / c))


def lines_of(path):
    with open(path, "rb") as log:
        return sum(1 for _ in log)


def syscalls(command, cwd):
    trace = os.path.join(WORK, "strace.txt")
    run(["strace", "-f", "-c", "-o", trace, *command], cwd=cwd)
    with open(trace) as lines:
        for line in lines:
            if line.strip().endswith("total"):
                return int(line.split()[3])
    raise RuntimeError("no total in strace output")


def peak_kib(command, cwd):
    result = run(["/usr/bin/time", "-f", "%M", *command], cwd=cwd)
    return int(result.stderr.strip().splitlines()[-1])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--files", type=int, default=20000)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--shuffled", action="store_true")
    parser.add_argument("--windows", default="auto")
    options = parser.parse_args()

    build("bench", ["cdverify", "floor", "make_large_disk"])
    os.makedirs(WORK, exist_ok=True)
    cdverify = os.path.join(ROOT, "build/bench/cdverify")
    floor = os.path.join(ROOT, "build/bench/tools/floor/floor")
    disk = make_disk(options.files, options.shuffled)
    print("disk: %d data files (+ trigger files), %s" % (options.files, disk))

    side_by_side("native", [cdverify, "-archDisk=" + disk], [floor, disk, "floor.log"], WORK,
                 options.rounds)

    small = make_disk(1000)
    empty = os.path.join(WORK, "empty")
    os.makedirs(empty, exist_ok=True)
    per_file = (syscalls([cdverify, "-archDisk=" + small], WORK) -
                syscalls([cdverify, "-archDisk=" + empty], WORK)) / 1000
    floor_per_file = (syscalls([floor, small, "floor.log"], WORK) -
                      syscalls([floor, empty, "floor.log"], WORK)) / 1000
    print("native   system calls per verified file: cdverify %.2f   floor %.2f" %
          (per_file, floor_per_file))

    tenth = make_disk(options.files // 10)
    big, little = (peak_kib([cdverify, "-archDisk=" + d], WORK) for d in (disk, tenth))
    print("native   peak memory: %d KiB at %d files, %d KiB at %d files" %
          (little, options.files // 10, big, options.files))

    windows = [options.windows]
    if options.windows == "auto":
        try:
            can32 = subprocess.run(["/usr/lib/wine/wine", "--version"], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL).returncode == 0
        except OSError:  # "Exec format error": this machine runs no 32-bit code
            can32 = False
        windows = ["mingw", "mingw64"] if can32 else ["mingw64"]
        if not can32:
            print("mingw    (32-bit) not measured: this machine runs no 32-bit code")
    for preset in windows:
        if preset != "none":
            side_by_side_windows(preset, disk, options.rounds)


def side_by_side_windows(preset, disk, rounds):
    build(preset, ["cdverify", "floor"])
    prefix = os.path.join(ROOT, "build", preset, "wine-prefix")
    loader = "/usr/lib/wine/wine" if preset == "mingw" else "/usr/lib/wine/wine64"
    env = dict(os.environ, WINEPREFIX=prefix, WINELOADER=loader, WINEDEBUG="-all")
    if preset == "mingw":
        env["WINEARCH"] = "win32"  # a pure 32-bit prefix: no 64-bit part to start
    if not os.path.exists(os.path.join(prefix, "system.reg")):
        run([loader, "wineboot", "-i"], env=env)
    drive = os.path.join(prefix, "dosdevices", "y:")
    if os.path.lexists(drive):
        os.remove(drive)
    os.symlink(disk, drive)
    # A server that stays up between the runs; detached, so no pipe of ours stays open.
    subprocess.run(["/usr/lib/wine/wineserver", "-p60"], env=env,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        exe = os.path.join(ROOT, "build", preset, "cdverify.exe")
        floor_exe = os.path.join(ROOT, "build", preset, "tools", "floor", "floor.exe")
        side_by_side(preset, [loader, exe, "-archDisk=y"], [loader, floor_exe, "y", "floor.log"],
                     WORK, rounds, env)
    finally:
        os.remove(drive)

if __name__ == "__main__":
    sys.exit(main())
