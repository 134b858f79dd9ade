#!/usr/bin/env python3
"""Peak memory of a command, sampled from /proc every half millisecond: private memory (RssAnon)
and pages of mapped files (RssFile, which the page cache shares and can take back), in MB.

Usage: bench/peak-memory.py COMMAND [ARGS...]   (output discarded)"""
import subprocess
import sys
import time


def sample(pid):
    fields = {}
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                key, _, value = line.partition(":")
                if key in ("RssAnon", "RssFile"):
                    fields[key] = int(value.split()[0])
    except OSError:
        pass
    return fields


def main():
    process = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL)
    peak = {"RssAnon": 0, "RssFile": 0}
    while process.poll() is None:
        for key, value in sample(process.pid).items():
            peak[key] = max(peak[key], value)
        time.sleep(0.0005)
    print("%.1f private, %.1f mapped" % (peak["RssAnon"] / 1024, peak["RssFile"] / 1024))


main()
