#!/usr/bin/env python3
"""Whole-process start-up: from spawning the player to the first character request in its
trace, for a script given on the command line. Prints the median, minimum and maximum of
the runs in milliseconds.

    bench/startup/first_request.py build-rel/src/rirerazo examples/welcome.vrn [runs]
"""
import statistics
import subprocess
import sys
import time


def first_request_ms(player, script):
    start = time.perf_counter()
    process = subprocess.Popen([player, "--headless", "--trace", "-", script],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    elapsed = None
    for line in process.stdout:
        if '"kind":"agent"' in line and '"request"' in line:
            elapsed = (time.perf_counter() - start) * 1000
            break
    process.kill()
    process.wait()
    return elapsed


def main():
    player, script = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 30
    times = [t for t in (first_request_ms(player, script) for _ in range(runs)) if t is not None]
    if not times:
        sys.exit("no character request appeared in the trace")
    print(f"runs {len(times)}: median {statistics.median(times):.1f} ms, "
          f"min {min(times):.1f} ms, max {max(times):.1f} ms")


if __name__ == "__main__":
    main()
