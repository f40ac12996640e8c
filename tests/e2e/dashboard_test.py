#!/usr/bin/env python3
"""Headless Chromium on the dashboard of a station polling a simulated plant
whose serial numbers try to break out of their place, the first inverter in
fault and its alert sent to a webhook on loopback. At phone size the first
inverter's power is on the first screen and nothing scrolls sideways; chart
labels are at least 11 px; every serial number shows as text and opens its
own page; the overview lists the open alert and the sent one at both sizes;
when the station stops the banner says so within 5 s. Screenshots at
1366 x 768 and 390 x 844 (and of the sent alerts at 390) stay in the
artefact folder.
Exits 77 (skipped) when Chromium is not installed.

usage: dashboard_test.py BIN_DIR ARTEFACT_DIR"""

import http.server
import json
import os
import socket
import sys
import tempfile
import threading
import time
import urllib.request

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "lib"))

import cdp  # noqa: E402
import plant  # noqa: E402

HOSTILE = ["<!--<script>", "</script>", "\"'><svg/onload=1", "A/B 1"]
PHONE = (390, 844)
DESKTOP = (1366, 768)
failures = []


def check(condition, what):
    print(f"dashboard: {'ok  ' if condition else 'FAIL'} {what}")
    if not condition:
        failures.append(what)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def plant_online(url):
    try:
        with urllib.request.urlopen(url + "/api/plant", timeout=5) as reply:
            return json.load(reply)["inverters_online"]
    except OSError:
        return 0


class Webhook(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        self.rfile.read(int(self.headers.get("Content-Length", 0)))
        self.send_response(204)
        self.end_headers()

    def log_message(self, *args):
        pass


def start(bin_dir, work, port, hook):
    serials = [f"--serial=COM3:{i + 1}={serial}" for i, serial in enumerate(HOSTILE)]
    simulator = plant.Simulator(bin_dir, work, ["COM3:single*5"],
                                ["--speed", "120", "--start", "09:00", "--wire-time", "off", *serials,
                                 "--exec", "set COM3:1 fault 2 0x400"])
    simulator.start()
    plant.write_settings(os.path.join(work, "Heliowatch.ini"), [3], 1)
    with open(os.path.join(work, "Heliowatch.ini"), "a") as settings:
        settings.write(f"[Bus]\nFastReplies=1\n[Web]\nEnable=1\nPort={port}\n"
                       f"[Alerts]\nWebhookUrl=http://127.0.0.1:{hook}/hook\n")
    station = plant.Station(bin_dir, work)
    station.start()
    return simulator, station


def alert_lists(browser, size):
    shown = browser.wait_for("document.querySelector('#open-alerts td.subject a')"
                             " && document.querySelector('#sent-alerts .delivery.sent')", timeout=30)
    check(shown, f"the overview lists the open alert and the sent one at {size}")
    texts = browser.evaluate("[...document.querySelectorAll('#open-alerts td.subject a,"
                             " #sent-alerts td.subject a')].map(a => a.textContent)")
    check(texts and all(text == HOSTILE[0] for text in texts), f"alerts name their inverter as text ({texts})")
    visible = browser.evaluate("[...document.querySelectorAll('#open-alerts td.text, #sent-alerts td.channels')]"
                               ".every(td => td.getBoundingClientRect().width > 40)")
    check(visible, f"alert texts and channels have room at {size}")


def phone_overview(browser, url, artefacts):
    browser.size(*PHONE, mobile=True)
    browser.open(url + "/")
    check(browser.wait_for("document.querySelectorAll('table.inverters tbody tr').length === 5"
                           " && document.querySelector('svg.chart')"), "overview lists 5 inverters")
    alert_lists(browser, "phone width")
    first_power = browser.evaluate("""(() => {
        const r = document.querySelector('table.inverters tbody tr td.power').getBoundingClientRect();
        return {top: r.top, bottom: r.bottom, height: r.height}; })()""")
    check(first_power["height"] > 0 and first_power["bottom"] <= PHONE[1],
          f"first inverter's power within the first screen ({first_power})")
    widths = browser.evaluate("[document.documentElement.scrollWidth, innerWidth]")
    check(widths[0] <= widths[1], f"no sideways scroll at phone width ({widths})")
    label = browser.evaluate("Math.min(...[...document.querySelectorAll('svg.chart text')]"
                             ".map(t => t.getBoundingClientRect().height))")
    check(label >= 11, f"chart labels at least 11 px high ({label:.1f})")
    browser.screenshot(os.path.join(artefacts, "web-overview-phone.png"))
    shown = browser.evaluate("[...document.querySelectorAll('td.serial a')].map(a => a.textContent)")
    check(all(serial in shown for serial in HOSTILE), "every hostile serial shows as text")
    check(browser.evaluate("document.querySelector('main [onload], main img, main script') === null"),
          "no element injected by a serial number")
    links = browser.evaluate("[...document.querySelectorAll('td.serial a')].map(a => a.href)")
    browser.evaluate("document.getElementById('sent-alerts').scrollIntoView()")
    browser.screenshot(os.path.join(artefacts, "web-alerts-phone.png"))
    return links


def inverter_pages(browser, links):
    for link in links[:len(HOSTILE)]:
        browser.open(link)
        serial = browser.evaluate("new URLSearchParams(location.search).get('serial')")
        check(browser.wait_for(f"document.querySelector('h1').textContent.includes({json.dumps(serial)})"
                               " && document.querySelector('.panel table')"),
              f"the page of {serial!r} shows its inverter")


def desktop_pages(browser, url, artefacts):
    browser.size(*DESKTOP)
    for name, path in [("overview", "/"), ("inverters", "/inverters"),
                       ("inverter", "/inverter?serial=A%2FB%201"), ("faults", "/faults"),
                       ("history", "/history")]:
        browser.open(url + path)
        browser.wait_for("document.querySelector('main').children.length > 0")
        if path == "/":
            alert_lists(browser, "desktop width")
            widths = browser.evaluate("[document.documentElement.scrollWidth, innerWidth]")
            check(widths[0] <= widths[1], f"no sideways scroll at desktop width ({widths})")
        time.sleep(1.5)
        browser.screenshot(os.path.join(artefacts, f"web-{name}.png"))
    browser.size(*PHONE, mobile=True)
    browser.open(url + "/inverter?serial=A%2FB%201")
    time.sleep(1.5)
    browser.screenshot(os.path.join(artefacts, "web-inverter-phone.png"))


def banner_after_stop(browser, url, station):
    browser.open(url + "/")
    browser.wait_for("document.getElementById('plant-power').textContent.length > 0")
    station.stop()
    stopped = time.monotonic()
    shown = browser.wait_for("!document.getElementById('banner').hidden", timeout=5)
    check(shown, f"banner within 5 s after the station stopped ({time.monotonic() - stopped:.1f} s)")
    text = browser.evaluate("document.getElementById('banner').textContent")
    check(text.startswith("connection lost ") and text.endswith(" s ago, retrying"), f"banner says {text!r}")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    bin_dir, artefacts = sys.argv[1:]
    if not cdp.chromium():
        print("dashboard: skipped, chromium is not installed (scripts/setup-deps installs it)")
        return 77
    os.makedirs(artefacts, exist_ok=True)
    hook = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Webhook)
    threading.Thread(target=hook.serve_forever, daemon=True).start()
    with tempfile.TemporaryDirectory(prefix="heliowatch-dashboard.") as work:
        port = free_port()
        url = f"http://127.0.0.1:{port}"
        simulator, station = start(bin_dir, work, port, hook.server_address[1])
        browser = None
        try:
            if not plant.wait_for(lambda: plant_online(url) == 5, 90, 0.5):
                print(open(station.log).read())
                return 1
            browser = cdp.Browser(os.path.join(work, "profile"))
            links = phone_overview(browser, url, artefacts)
            inverter_pages(browser, links)
            desktop_pages(browser, url, artefacts)
            banner_after_stop(browser, url, station)
        finally:
            if browser:
                browser.close()
            station.stop()
            simulator.stop()
            hook.shutdown()
    print(f"dashboard: {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
