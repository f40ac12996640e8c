"""Checks of what the station leaves in its HistLog folder: history files
whose lines must all be whole, and the fault record file."""

import os
import re
import struct
import time

SINGLE_HEADER = (
    "  Time,Temp(C),Vpv(V),Vac(V),Iac(A),Fac(Hz),Pac(W),Zac(mOhm),E-Today(kWh),E-Total(kWh),"
    "h-Total(h),Radiation(w/m*2),WindSpeed(m/s),EnvironmentTemp(C),ModuleTemp(C)"
)
THREE_HEADER = (
    "  Time,Temp(C),Vac(V),Iac(A),Fac(Hz),Pac(W),Zac(mOhm),E-Total(kWh),E-Today(kWh),h-Total(h),"
    "Vpv(V),Vpv1(V),Vpv2(V),Vpv3(V),Ipv1(A),Ipv2(A),Ipv3(A),Ppv1(W),Ppv2(W),Ppv3(W),"
    "Vac1(V),Vac2(A),Vac3(A),Iac1(A),Iac2(A),Iac3(A),"
    "Radiation(w/m*2),WindSpeed(m/s),EnvironmentTemp(C),ModuleTemp(C)"
)
FIELDS_AFTER = {SINGLE_HEADER: 15, THREE_HEADER: 30}
TIME_FORMAT = "%Y/%m/%d %H:%M:%S"
TIME_LENGTH = 19

FAULT_FILE = "InvFaultRecord.dat"
FAULT_HEADER = b"Fault Record File"
FAULT_RECORD_SIZE = 40
SERIAL_PATTERN = re.compile(rb"[\x21-\x7e]{1,16}\0*")
NO_TIME = int(time.mktime((2000, 1, 1, 0, 0, 0, 0, 0, -1)))


def line_problem(text, fields):
    """Why one history line (CR LF removed) is not whole, or None."""
    parts = text.split(",")
    if len(parts) != fields:
        return f"{len(parts)} fields instead of {fields}"
    if len(parts[0]) != TIME_LENGTH:
        return "time stamp of the wrong length"
    try:
        time.strptime(parts[0], TIME_FORMAT)
    except ValueError:
        return "time stamp does not parse"
    return None


class HistoryFile:
    """Follows one history file as it grows and checks each completed line."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.fields = None
        self.partial = b""
        self.lines = 0
        self.problems = []

    def read_new(self):
        """Checks the lines completed since the last call; returns the times
        (seconds since the epoch) of the whole data lines among them."""
        with open(self.path, "rb") as file:
            file.seek(self.offset)
            data = file.read()
        self.offset += len(data)
        *complete, self.partial = (self.partial + data).split(b"\n")
        times = []
        for raw in complete:
            stamp = self._check(raw)
            if stamp is not None:
                times.append(stamp)
        return times

    def finish(self):
        """Once no one writes any more: a line left without its end is torn."""
        self.read_new()
        if self.partial:
            self._complain("ends in a line without CR LF", self.partial)
            self.partial = b""

    def _check(self, raw):
        if not raw.endswith(b"\r") or b"\r" in raw[:-1]:
            return self._complain("not ended by exactly CR LF", raw)
        try:
            text = raw[:-1].decode("ascii")
        except UnicodeDecodeError:
            return self._complain("not ASCII", raw)
        if self.fields is None:
            if text not in FIELDS_AFTER:
                return self._complain("no header", raw)
            self.fields = FIELDS_AFTER[text]
            return None
        self.lines += 1
        problem = line_problem(text, self.fields)
        if problem:
            return self._complain(problem, raw)
        return int(time.mktime(time.strptime(text[:TIME_LENGTH], TIME_FORMAT)))

    def _complain(self, problem, raw):
        self.problems.append(f"{self.path}: {problem}: {raw[:200]!r}")
        return None


class HistLog:
    """Every history file of one HistLog folder, found as they appear."""

    def __init__(self, directory):
        self.directory = directory
        self.files = {}

    def read_new(self):
        """{serial: [times of new whole lines]} since the last call."""
        if os.path.isdir(self.directory):
            for name in os.listdir(self.directory):
                if name.endswith(".csv") and name[:-4] not in self.files:
                    self.files[name[:-4]] = HistoryFile(os.path.join(self.directory, name))
        return {serial: file.read_new() for serial, file in self.files.items()}

    def finish(self):
        self.read_new()
        for file in self.files.values():
            file.finish()

    def lines(self):
        return sum(file.lines for file in self.files.values())

    def problems(self):
        return [problem for file in self.files.values() for problem in file.problems]


def fault_file_problems(path, not_before):
    """(records, problems) of a fault record file: its header, then whole
    40-byte records of a plausible serial number, mode and times. A file
    still empty (killed between creating it and writing the header) holds
    no records yet and is fine."""
    if not os.path.exists(path):
        return 0, []
    with open(path, "rb") as file:
        data = file.read()
    if not data:
        return 0, []
    if not data.startswith(FAULT_HEADER):
        return 0, [f"{path}: no header: {data[:32]!r}"]
    body = data[len(FAULT_HEADER):]
    problems = []
    if len(body) % FAULT_RECORD_SIZE:
        problems.append(f"{path}: {len(body) % FAULT_RECORD_SIZE} bytes of a partial record at the end")
    count = len(body) // FAULT_RECORD_SIZE
    latest = time.time() + 5
    for index in range(count):
        record = body[index * FAULT_RECORD_SIZE:(index + 1) * FAULT_RECORD_SIZE]
        serial = record[:16]
        mode = struct.unpack_from("<H", record, 16)[0]
        start, end = struct.unpack_from("<ii", record, 32)
        if not SERIAL_PATTERN.fullmatch(serial):
            problems.append(f"{path}: record {index}: serial number {serial!r}")
        if mode not in (2, 3):
            problems.append(f"{path}: record {index}: mode {mode}")
        if not not_before <= start <= latest:
            problems.append(f"{path}: record {index}: start time {start}")
        if end != NO_TIME and not start <= end <= latest:
            problems.append(f"{path}: record {index}: end time {end} (start {start})")
    return count, problems
