#!/usr/bin/env python3
"""The include check passes on the tree and fails on an include across rooms."""
import pathlib
import subprocess
import sys
import tempfile

SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "check-includes"

CASES = [
    # (file, its text, the words the check must print; none: it passes)
    ("src/web/Page.cpp", '#include "gui/MainFrame.h"\n', "reaches gui, which web does not link"),
    ("src/store/Doc.cpp", '#include "history/SummaryStore.h"\n', "reaches history"),
    ("src/publish/Topic.cpp", "#include <QColor>\n", "Qt Gui or Widgets"),
    ("src/history/Store.cpp", '#include "../gui/MainFrame.h"\n', "climbs out"),
    ("src/charts/Chart.cpp", '#include "store/Doc.h"\n#include <QPainter>\n', None),
]


def run(root):
    return subprocess.run([sys.executable, str(SCRIPT), "--root", str(root)],
                          capture_output=True, text=True)


def main():
    failures = []
    real = run(SCRIPT.parents[1])
    if real.returncode != 0:
        failures.append("the tree itself:\n" + real.stdout + real.stderr)
    for path, text, expected in CASES:
        with tempfile.TemporaryDirectory() as directory:
            root = pathlib.Path(directory)
            for header in ("src/gui/MainFrame.h", "src/store/Doc.h",
                           "src/history/SummaryStore.h"):
                (root / header).parent.mkdir(parents=True, exist_ok=True)
                (root / header).touch()
            (root / path).parent.mkdir(parents=True, exist_ok=True)
            (root / path).write_text(text)
            result = run(root)
            if expected is None and result.returncode != 0:
                failures.append(f"{path} was refused: {result.stdout}")
            if expected is not None and (result.returncode != 1 or expected not in result.stdout):
                failures.append(f"{path}: expected '{expected}', got {result.stdout!r}")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
