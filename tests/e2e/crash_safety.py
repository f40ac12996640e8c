#!/usr/bin/env python3
"""The headless station, polling a simulated plant with recurring faults, is
killed with SIGKILL at random moments. After each kill every history line
and fault record is whole, and the next start appends whole lines.

usage: crash_safety.py --bin-dir DIR [--kills N] [--seed N]"""

import argparse
import os
import random
import shutil
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "lib"))

import histlog  # noqa: E402
import plant  # noqa: E402

BUSES = ["COM3:single", "COM4:single", "COM5:single", "COM6:three", "COM7:three"]
PORTS = [3, 4, 5, 6, 7]
# Faults come and go every few seconds, so kills land while records are
# being appended and closed.
EPISODES = ["set COM3:1 episode 4 2 2 0x400", "set COM4:1 episode 5 3 3 0x2000",
            "set COM6:1 episode 3 1 2 0x100"]


def check(directory, since):
    """Everything in HistLog as it is now, read from the start:
    (history lines, history files, fault records)."""
    log = histlog.HistLog(directory)
    log.finish()
    records, fault_problems = histlog.fault_file_problems(
        os.path.join(directory, histlog.FAULT_FILE), since)
    problems = log.problems() + fault_problems
    if problems:
        raise AssertionError("\n".join(problems[:20]))
    return log.lines(), len(log.files), records


def history_bytes(directory):
    if not os.path.isdir(directory):
        return 0
    return sum(entry.stat().st_size for entry in os.scandir(directory) if entry.name.endswith(".csv"))


def run_until_killed(station, rng, startup_kill):
    """Starts the station and kills it: early in its start-up, or once it has
    written again and then a random while later."""
    written = history_bytes(station.histlog)
    station.start()
    if startup_kill:
        time.sleep(rng.uniform(0.05, 1.5))
    elif not plant.wait_for(lambda: history_bytes(station.histlog) > written, 30):
        station.kill()
        raise AssertionError("the restarted station wrote no history line within 30 s")
    else:
        time.sleep(rng.uniform(0.0, 4.0))
    station.kill()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin-dir", required=True)
    parser.add_argument("--kills", type=int, default=20)
    parser.add_argument("--seed", type=int, default=int(time.time()))
    args = parser.parse_args()
    rng = random.Random(args.seed)
    base = os.environ.get("HELIOWATCH_TEST_TMP", tempfile.gettempdir())
    os.makedirs(base, exist_ok=True)
    work = tempfile.mkdtemp(prefix="crash-", dir=base)
    sim = plant.Simulator(args.bin_dir, work, BUSES,
                          ["--wire-time", "off"] + [arg for e in EPISODES for arg in ("--exec", e)])
    station = plant.Station(args.bin_dir, work)
    plant.write_settings(station.settings, PORTS, 1)
    since = int(time.time()) - 1
    checked = 0
    try:
        sim.start()
        lines = 0
        for kill in range(args.kills):
            before = lines
            startup_kill = kill % 2 == 1
            run_until_killed(station, rng, startup_kill)
            lines, files, records = check(station.histlog, since)
            checked += lines
            if not startup_kill and lines <= before:
                raise AssertionError(f"kill {kill + 1}: no whole line appended after the restart")
        print(f"crash-safety: {args.kills} kills (seed {args.seed}); at the end {lines} history "
              f"lines in {files} files and {records} fault records, all whole; "
              f"{checked} history lines checked in all")
    except AssertionError as failure:
        print(f"crash-safety: FAILED (seed {args.seed}): {failure}\nfiles kept in {work}")
        return 1
    finally:
        station.kill()
        sim.stop()
    shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
