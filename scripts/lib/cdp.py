"""Headless Chromium driven over its DevTools pipe: no client library, no
network port. One page at a time."""

import base64
import json
import os
import shutil
import subprocess
import time

FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", "--no-first-run", "--disable-quic",
         "--hide-scrollbars", "--remote-debugging-pipe"]


def chromium():
    return shutil.which("chromium") or shutil.which("chromium-browser")


class Browser:
    def __init__(self, profile):
        to_browser_read, self._to_browser = os.pipe()
        self._from_browser, from_browser_write = os.pipe()
        # The browser reads commands on descriptor 3 and answers on 4.
        command = f'exec "$0" "$@" 3<&{to_browser_read} 4>&{from_browser_write}'
        self.process = subprocess.Popen(
            ["bash", "-c", command, chromium(), *FLAGS, f"--user-data-dir={profile}", "about:blank"],
            pass_fds=(to_browser_read, from_browser_write),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_read)
        os.close(from_browser_write)
        self._buffer = b""
        self._next = 0
        self.events = []
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = self.call("Target.attachToTarget",
                                 {"targetId": target, "flatten": True})["sessionId"]
        self.send("Page.enable")
        self.send("Network.enable")

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        os.close(self._to_browser)
        os.close(self._from_browser)

    def call(self, method, params=None, session=None, timeout=30):
        self._next += 1
        message = {"id": self._next, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self._to_browser, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            reply = self._read()
            if reply.get("id") == self._next:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply.get("result", {})
            self.events.append(reply)
        raise TimeoutError(method)

    def send(self, method, params=None):
        """A command to the page's session."""
        return self.call(method, params, self.session)

    def _read(self):
        while b"\0" not in self._buffer:
            chunk = os.read(self._from_browser, 1 << 16)
            if not chunk:
                raise RuntimeError("the browser ended")
            self._buffer += chunk
        message, self._buffer = self._buffer.split(b"\0", 1)
        return json.loads(message)

    def size(self, width, height, mobile=False):
        self.send("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": mobile})

    def open(self, url):
        self.events.clear()
        self.send("Page.navigate", {"url": url})
        self.wait_for("document.readyState === 'complete'")

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate",
                           {"expression": expression, "returnByValue": True, "awaitPromise": True})
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, expression, timeout=15):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.evaluate(f"!!({expression})"):
                return True
            time.sleep(0.1)
        return False

    def screenshot(self, path):
        data = self.send("Page.captureScreenshot", {"format": "png"})["data"]
        with open(path, "wb") as picture:
            picture.write(base64.b64decode(data))

    def count_events(self, method):
        """Drains what arrived, then counts the events of that kind so far."""
        self.evaluate("0")
        return sum(1 for event in self.events if event.get("method") == method)
