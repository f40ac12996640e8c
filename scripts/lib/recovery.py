"""How long inverters stay away after a disturbance ends: from its end to
the time stamp of the inverter's next history line."""

import math
import statistics


class Away:
    def __init__(self, kind):
        self.kind = kind
        self.ended = None  # while the disturbance lasts
        self.bound = None
        self.away = None  # seconds, once the inverter is back


class Recovery:
    def __init__(self):
        self.waiting = {}  # serial: Away
        self.done = []  # Away of every inverter back or given up on

    def disturbed(self, serials, kind):
        for serial in serials:
            self.waiting[serial] = Away(kind)

    def ended(self, serials, when, bound):
        for serial in serials:
            if serial in self.waiting and self.waiting[serial].ended is None:
                self.waiting[serial].ended = when
                self.waiting[serial].bound = bound

    def interrupted(self, serials, now):
        """Another disturbance takes over before these came back: what they
        have missed so far still counts if it already broke the bound."""
        for serial in serials:
            entry = self.waiting.pop(serial, None)
            if entry is not None and entry.ended is not None and self._overdue(entry, now):
                entry.away = now - entry.ended
                self.done.append(entry)

    def lines(self, serial, times):
        entry = self.waiting.get(serial)
        if entry is None or entry.ended is None or not times:
            return
        # A line stamped in the second the disturbance ended may be from a
        # poll just before its end.
        first = next((t for t in times if t >= math.ceil(entry.ended)), None)
        if first is not None:
            entry.away = max(0.0, first - entry.ended)
            self.done.append(self.waiting.pop(serial))

    def longest(self, kinds, now):
        """The longest time away so far, counting those still away."""
        values = [e.away for e in self.done if e.kind in kinds]
        values += [now - e.ended for e in self.waiting.values() if e.kind in kinds and e.ended is not None]
        return max(values, default=None)

    def still_away(self):
        return [e for e in self.waiting.values() if e.ended is not None]

    def summary(self, kind, now):
        """(disturbed and ended, back, median time away of those back,
        longest away, bound, over the bound)."""
        back = [e for e in self.done if e.kind == kind]
        away = [e for e in self.waiting.values() if e.kind == kind and e.ended is not None]
        over = sum(1 for e in back if e.away > e.bound) + sum(1 for e in away if self._overdue(e, now))
        bound = max((e.bound for e in back + away), default=None)
        median = statistics.median(e.away for e in back) if back else None
        return len(back) + len(away), len(back), median, self.longest([kind], now), bound, over

    @staticmethod
    def _overdue(entry, now):
        return now - entry.ended > entry.bound
