#!/usr/bin/env python3
"""What one open inverter page costs the station: a day of 1 s samples in
memory, the page open in headless Chromium with its live stream for a
minute. Prints the station's CPU as a share of one core, the live updates
the page received against those the station sent, and the size of the day
curve as the browser receives it; fails above 5 % of a core, on a lost
update or a curve of 50 KB or more.

usage: web_page_cost.py --bin-dir DIR [--seconds N]"""

import argparse
import math
import os
import re
import socket
import sys
import tempfile
import time
import urllib.request

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts", "lib"))

import cdp  # noqa: E402
import plant  # noqa: E402
import procstats  # noqa: E402

SERIAL = plant.serial_of(3, 1)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def get(url, encoding=None):
    request = urllib.request.Request(url, headers={"Accept-Encoding": encoding} if encoding else {})
    with urllib.request.urlopen(request, timeout=10) as reply:
        return reply.read()


def online(url):
    try:
        return b'"inverters_online":1' in get(url + "/api/plant")
    except OSError:
        return False


def fill_today(histlog):
    """Today's history of the inverter at 1 s from midnight to now, made from
    the line the station wrote, so the station refills a whole day."""
    path = os.path.join(histlog, SERIAL + ".csv")
    with open(path, newline="") as history:
        lines = history.read().split("\r\n")
    header, template = lines[0], lines[-2].split(",")
    now = time.time()
    midnight = now - (now - time.mktime(time.localtime(now)[:3] + (0, 0, 0, 0, 0, -1)))
    with open(path, "w", newline="") as history:
        history.write(header + "\r\n")
        for second in range(int(midnight), int(now) - 5):
            template[0] = time.strftime("%Y/%m/%d %H:%M:%S", time.localtime(second))
            template[6] = f"{round(3000 * math.sin((second - midnight) / 86400 * math.pi)):5d}"
            history.write(",".join(template) + "\r\n")
    return int(now - midnight)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin-dir", required=True)
    parser.add_argument("--seconds", type=int, default=60)
    args = parser.parse_args()
    if not cdp.chromium():
        sys.exit("web_page_cost: chromium is not installed")
    with tempfile.TemporaryDirectory(prefix="heliowatch-webcost.") as work:
        port = free_port()
        url = f"http://127.0.0.1:{port}"
        simulator = plant.Simulator(args.bin_dir, work, ["COM3:single"], ["--wire-time", "off"])
        simulator.start()
        settings = os.path.join(work, "Heliowatch.ini")
        plant.write_settings(settings, [3], 1)
        with open(settings, "a") as extra:
            extra.write(f"[Bus]\nFastReplies=1\n[Web]\nEnable=1\nPort={port}\n")
        station = plant.Station(args.bin_dir, work)
        browser = None
        try:
            station.start()
            plant.wait_for(lambda: online(url), 60, 0.5)
            station.stop()
            samples = fill_today(station.histlog)
            station.start()
            plant.wait_for(lambda: online(url), 60, 0.5)
            curve = get(f"{url}/api/inverters/{SERIAL}/day", "gzip, deflate, br")
            browser = cdp.Browser(os.path.join(work, "profile"))
            browser.open(f"{url}/inverter?serial={SERIAL}")
            browser.wait_for("document.querySelector('svg.chart')")
            time.sleep(3)
            before = procstats.sample(station.process.pid)
            received_before = browser.count_events("Network.eventSourceMessageReceived")
            time.sleep(args.seconds)
            after = procstats.sample(station.process.pid)
            received = browser.count_events("Network.eventSourceMessageReceived") - received_before
            ids = [int(re.sub(r".*-", "", e["params"]["eventId"])) for e in browser.events
                   if e.get("method") == "Network.eventSourceMessageReceived" and e["params"].get("eventId")]
        finally:
            if browser:
                browser.close()
            station.stop()
            simulator.stop()
    cpu = (after["cpu_s"] - before["cpu_s"]) / args.seconds * 100
    sent = ids[-1] - ids[-1 - received] if len(ids) > received else received
    print(f"day in memory: {samples} samples of 1 s")
    print(f"day curve: {len(curve)} bytes as the browser receives it (gzip)")
    print(f"station CPU with the page open: {cpu:.2f} % of one core over {args.seconds} s")
    print(f"live updates: {received} received of {sent} sent")
    ok = cpu < 5 and received >= sent and len(curve) < 50 * 1024
    print("web_page_cost: " + ("ok" if ok else "FAILED"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
