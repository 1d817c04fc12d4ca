#!/usr/bin/python3
"""Runs the journeys through the real program on virtual desktops and prints each step's result.

  run.py --program build/release/app/reelvault --out build/e2e [--jobs N] [JOURNEY...]
  run.py --program ... --out ... --random [--seed S] [--steps N] [--minutes M] [--jobs N]

Journeys run side by side, each on a desktop of its own; the lines of one journey are printed
together when it ends. Screenshots of every step stay under --out/JOURNEY/. The exit code is 0
when every step passed, 1 when one failed, 77 when the desktop's tools are missing.

With --random the program is used at random instead: with --seed, one journey of that seed
(--steps steps, or --minutes); without, journeys of new seeds one after another on --jobs
desktops until --minutes are over, each of --steps steps at most.
"""

import argparse
import concurrent.futures
import os
import random
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ left in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from desktop import missing_tools  # noqa: E402
from journey import Journey  # noqa: E402
import demo  # noqa: E402
import journeys  # noqa: E402
import random_use  # noqa: E402

SKIP = 77
ALL = dict(journeys.ALL, **random_use.ALL)


def run_one(name, program, out, body=None):
    lines = []
    journey = Journey(name, program, out, echo=lines.append)
    journey.results = {}
    ok = journey.run(body or ALL[name])
    return name, ok, journey.seconds, journey.steps, lines, journey.results


def run_random(args, program, out):
    """Random use: one seed, or new seeds until the time is over."""
    started = time.time()
    deadline = started + args.minutes * 60 if args.minutes else None
    if args.seed is not None:
        if args.steps is None and deadline is None:
            args.steps = 200
        runs = [(args.seed, args.steps)]
        jobs = 1
    else:
        deadline = deadline or started + 600
        runs = None
        jobs = max(1, args.jobs)
    steps = args.steps or 150
    fresh = random.SystemRandom()
    passed = failed = total = 0
    failures = []

    def next_run():
        if runs is not None:
            return runs.pop() if runs else None
        # A journey needs half a minute to set up; none starts in the last one.
        return (fresh.randrange(1, 10 ** 6), steps) if time.time() < deadline - 60 else None

    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        pending = set()
        while True:
            while len(pending) < jobs:
                run = next_run()
                if run is None:
                    break
                seed, count = run
                pending.add(pool.submit(run_one, "random-use-%d" % seed, program, out,
                                        random_use.journey(seed, count, deadline)))
            if not pending:
                break
            done, pending = concurrent.futures.wait(
                pending, return_when=concurrent.futures.FIRST_COMPLETED)
            for future in done:
                name, ok, seconds, _, lines, results = future.result()
                made = results.get("steps")
                total += made or 0
                print("%s %s (%s random steps, %.0fs)" % ("PASS" if ok else "FAIL", name,
                                                         made if made is not None else "?",
                                                         seconds))
                print("\n".join(lines), flush=True)
                passed += ok
                failed += not ok
                if not ok:
                    failures.append(name)
    print("Random use: %d seeds clean (%d steps), %d failed%s in %.0fs; screenshots and steps "
          "under %s" % (passed, total, failed, " (%s)" % ", ".join(failures) if failures else "",
                        time.time() - started, out))
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


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
    parser.add_argument("--random", action="store_true",
                        help="use the program at random (see --seed, --steps, --minutes)")
    parser.add_argument("--seed", type=int)
    parser.add_argument("--steps", type=int)
    parser.add_argument("--minutes", type=float)
    parser.add_argument("names", nargs="*")
    args = parser.parse_args()

    lacking = missing_tools()
    if lacking:
        print("The journeys need these Debian packages: %s" % " ".join(lacking))
        return SKIP
    if args.demo:
        return run_demo(os.path.abspath(args.program), os.path.abspath(args.out))
    program = os.path.abspath(args.program)
    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)
    if args.random:
        return run_random(args, program, out)
    unknown = [n for n in args.names if n not in ALL]
    if unknown:
        print("No such journey: %s (there are: %s)" % (", ".join(unknown), ", ".join(ALL)))
        return 2
    names = args.names or list(ALL)

    started = time.time()
    passed = failed = 0
    with concurrent.futures.ThreadPoolExecutor(max(1, args.jobs)) as pool:
        futures = [pool.submit(run_one, n, program, out) for n in names]
        for future in concurrent.futures.as_completed(futures):
            name, ok, seconds, steps, lines, _ = future.result()
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
