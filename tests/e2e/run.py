#!/usr/bin/env python3
"""Runs the journeys through the real program on virtual desktops and prints each step's result.

  run.py --program build/release/app/reelvault --out build/e2e [--jobs N] [JOURNEY...]

Journeys run side by side, each on a desktop of its own; the lines of one journey are printed
together when it ends. Screenshots of every step stay under --out/JOURNEY/. The exit code is 0
when every step passed, 1 when one failed, 77 when the desktop's tools are missing.
"""

import argparse
import concurrent.futures
import os
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ left in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from desktop import missing_tools  # noqa: E402
from journey import Journey  # noqa: E402
import demo  # noqa: E402
import journeys  # noqa: E402

SKIP = 77


def run_one(name, program, out):
    lines = []
    journey = Journey(name, program, out, echo=lines.append)
    ok = journey.run(journeys.ALL[name])
    return name, ok, journey.seconds, journey.steps, lines


def run_demo(program, out):
    journey = Journey("demonstration", program, out)
    if not journey.run(demo.demonstration):
        return 1
    print("Screenshots: %s" % journey.results["screenshots"])
    print("Library:     %s" % journey.results["library"])
    print("Page:        %s" % journey.results["page"])
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--jobs", type=int, default=1)
    parser.add_argument("--demo", action="store_true",
                        help="drive the short demonstration instead of the journeys")
    parser.add_argument("names", nargs="*")
    args = parser.parse_args()

    lacking = missing_tools()
    if lacking:
        print("The journeys need these Debian packages: %s" % " ".join(lacking))
        return SKIP
    if args.demo:
        return run_demo(os.path.abspath(args.program), os.path.abspath(args.out))
    unknown = [n for n in args.names if n not in journeys.ALL]
    if unknown:
        print("No such journey: %s (there are: %s)" % (", ".join(unknown),
                                                        ", ".join(journeys.ALL)))
        return 2
    names = args.names or list(journeys.ALL)
    program = os.path.abspath(args.program)
    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)

    started = time.time()
    passed = failed = 0
    with concurrent.futures.ThreadPoolExecutor(max(1, args.jobs)) as pool:
        futures = [pool.submit(run_one, n, program, out) for n in names]
        for future in concurrent.futures.as_completed(futures):
            name, ok, seconds, steps, lines = future.result()
            print("%s %s (%d steps, %.0fs)" % ("PASS" if ok else "FAIL", name, len(steps),
                                               seconds))
            print("\n".join(lines), flush=True)
            passed += ok
            failed += not ok
    print("Journeys: %d passed, %d failed in %.0fs; screenshots under %s" % (
        passed, failed, time.time() - started, out))
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
