"""The simulator and the headless station as child processes of a script,
each with its files in one work folder."""

import os
import signal
import socket
import subprocess
import time


def serial_of(port, position):
    """The serial number the simulator gives an inverter by default."""
    return "SIM" + str(port * 1000 + position).zfill(13)


def port_of(serial):
    return int(serial[3:]) // 1000


def wait_for(condition, timeout, step=0.05):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(step)
    return True


class Simulator:
    def __init__(self, bin_dir, work, buses, extra=()):
        self.argv = [os.path.join(bin_dir, "heliowatch-sim"), "--port-dir", os.path.join(work, "ports"),
                     "--control", os.path.join(work, "sim.sock")]
        for bus in buses:
            self.argv += ["--bus", bus]
        self.argv += list(extra)
        self.control = os.path.join(work, "sim.sock")
        self.log = os.path.join(work, "sim.log")
        self.process = None

    def start(self):
        with open(self.log, "w") as log:
            self.process = subprocess.Popen(self.argv, stdout=log, stderr=subprocess.STDOUT)
        if not wait_for(self._ready, 30):
            raise RuntimeError(f"simulator not ready: {self._output()}")

    def command(self, line):
        """One control command; its one-line answer."""
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as channel:
            channel.settimeout(10)
            channel.connect(self.control)
            channel.sendall(line.encode() + b"\n")
            reply = b""
            while not reply.endswith(b"\n"):
                chunk = channel.recv(4096)
                if not chunk:
                    break
                reply += chunk
        answer = reply.decode(errors="replace").strip()
        if not answer.startswith("ok"):
            raise RuntimeError(f"simulator refused '{line}': {answer}")
        return answer

    def stop(self):
        stop_process(self.process, signal.SIGTERM)

    def _ready(self):
        if self.process.poll() is not None:
            raise RuntimeError(f"simulator ended with {self.process.returncode}: {self._output()}")
        return "\nready\n" in "\n" + self._output()

    def _output(self):
        with open(self.log) as log:
            return log.read()


def write_settings(path, ports, interval):
    with open(path, "w") as settings:
        settings.write(f"[Interval]\nInterval={interval}\n")
        for port in ports:
            settings.write(f"[Com{port}]\nEnable=1\n")


class Station:
    def __init__(self, bin_dir, work):
        self.argv = [os.path.join(bin_dir, "heliowatch"), "--headless",
                     "--config", os.path.join(work, "Heliowatch.ini"),
                     "--port-dir", os.path.join(work, "ports"),
                     "--data-dir", os.path.join(work, "data")]
        self.settings = os.path.join(work, "Heliowatch.ini")
        self.histlog = os.path.join(work, "data", "HistLog")
        self.log = os.path.join(work, "station.log")
        self.process = None

    def start(self):
        with open(self.log, "a") as log:
            self.process = subprocess.Popen(self.argv, stdout=log, stderr=subprocess.STDOUT)

    def kill(self):
        stop_process(self.process, signal.SIGKILL)

    def stop(self, timeout=10):
        """SIGTERM; the exit status, or None when it did not end in time."""
        return stop_process(self.process, signal.SIGTERM, timeout)


def stop_process(process, sig, timeout=10):
    if process is None or process.poll() is not None:
        return None if process is None else process.returncode
    process.send_signal(sig)
    try:
        return process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return None
