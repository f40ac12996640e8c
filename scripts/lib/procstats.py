"""What a running process holds, read from /proc."""

import os

TICKS = os.sysconf("SC_CLK_TCK")


def sample(pid):
    """{rss_mb, fds, threads, cpu_s} of a live process, or None once it is gone."""
    try:
        with open(f"/proc/{pid}/status") as status:
            fields = dict(line.split(":", 1) for line in status if ":" in line)
        with open(f"/proc/{pid}/stat") as stat:
            # The command name may hold blanks; the fields after it do not.
            after_name = stat.read().rsplit(")", 1)[1].split()
        fds = len(os.listdir(f"/proc/{pid}/fd"))
    except (FileNotFoundError, ProcessLookupError):
        return None
    return {
        "rss_mb": int(fields["VmRSS"].split()[0]) / 1024,
        "fds": fds,
        "threads": int(fields["Threads"]),
        "cpu_s": (int(after_name[11]) + int(after_name[12])) / TICKS,
    }


def growth(early, late, key):
    """How far a count rose for good: the lowest value late in the run above
    the highest early on (0 when it did not)."""
    if not early or not late:
        return 0
    return max(0, min(s[key] for s in late) - max(s[key] for s in early))
