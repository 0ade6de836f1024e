#!/usr/bin/python3
"""A question file opened as a file manager opens it: the desktop entry's command with the file in
place of %f, on a desktop session (see desktop_session.sh). Read from the accessibility bus as a
screen reader reads it, the window and a label name the file, and the file's first question
stands with its right answer, Serbian letters intact.
Usage: openwith_check.py GAME DESKTOP_ENTRY QUESTION_FILE. Exits with 77 without the bus's Python
binding."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
except ImportError:
    sys.exit(77)

sys.dont_write_bytecode = True  # the source tree stays clean
from atspi_tree import showing  # noqa: E402


game, entry, example = sys.argv[1:4]
home = tempfile.mkdtemp()
played = os.path.join(home, "Kviz za čas.txt")  # as a teacher names a file
shutil.copy(example, played)
command = next(line.split()[1:] for line in open(entry) if line.startswith("Exec="))
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", HOME=home, XDG_DATA_HOME=home)
process = subprocess.Popen([game] + [played if w == "%f" else w for w in command], env=env)
try:
    for _ in range(50):
        time.sleep(0.2)
        app = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "MudracQ"), None)
        if app and len(app) > 0:
            break
    time.sleep(1)
    window = app[0]
    memo = showing(window, "text")[0].queryText()
    seen = [window.name, memo.getText(0, -1)]
    seen += [a.name for a in showing(window, "label") + showing(window, "radio button")]
finally:
    process.terminate()
    process.wait()
    shutil.rmtree(home)

lines = open(example, encoding="utf-8").read().split("\n@")[0].splitlines()
right = {line[2:-1]: next(a[:-1] for a in lines[i + 1:i + 5] if a.endswith("*"))
         for i, line in enumerate(lines) if line.startswith("-")}
ok = (seen[0] == "Trivkan's Mudrac Quiz  v1.1, pitanja iz datoteke Kviz za čas.txt" and
      "Pitanja iz datoteke Kviz za čas.txt" in seen and right.get(seen[1]) in seen[2:])
print(("ok    " if ok else "FAIL  ") + f"read from the bus: {seen}")
sys.exit(0 if ok else 1)
