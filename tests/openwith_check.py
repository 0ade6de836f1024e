#!/usr/bin/python3
"""A question file opened as a file manager opens it: the desktop entry's command, the file in
place of its %f, on a desktop session (see desktop_session.sh). The game is read from the
accessibility bus as a screen reader reads it: the window and a label name the file, and the
file's first question stands with its right answer, Serbian letters intact. The entry claims no
kind of file, so it is the default program for none.
Usage: openwith_check.py GAME DESKTOP_ENTRY QUESTION_FILE. Exits with 77 without the bus's Python
binding."""

import os
import shlex
import shutil
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
    from gi.repository import GLib
except ImportError:
    sys.exit(77)

failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)


def pump(seconds):
    end = time.time() + seconds
    while time.time() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        time.sleep(0.02)


def showing(accessible, role):
    found = [accessible] if accessible.getRoleName() == role else []
    for child in accessible:
        if child is not None and child.getState().contains(pyatspi.STATE_SHOWING):
            found += showing(child, role)
    return found


def first_group(path):
    """Each question of the file's first group with its right answer."""
    groups = open(path, encoding="utf-8").read().split("\n@")
    lines = groups[0].splitlines()
    return {line[2:-1]: next(a[:-1] for a in lines[i + 1:i + 5] if a.endswith("*"))
            for i, line in enumerate(lines) if line.startswith("-")}


def main():
    game, entry, example = sys.argv[1:4]
    home = tempfile.mkdtemp()
    played = os.path.join(home, "Kviz za čas.txt")  # as a teacher names a file
    shutil.copy(example, played)

    applications = os.path.join(home, "applications")
    os.makedirs(applications)
    shutil.copy(entry, applications)
    subprocess.run(["update-desktop-database", applications], check=True)
    claims = subprocess.run(["gio", "mime", "text/plain"], capture_output=True, text=True,
                            env=dict(os.environ, XDG_DATA_DIRS=home, XDG_DATA_HOME=home,
                                     XDG_CONFIG_HOME=home)).stdout
    check("mudracq" not in claims, f"the entry is no default program: {claims.strip()}")

    command = next(line[5:].split() for line in open(entry) if line.startswith("Exec="))
    check("%f" in command, f"the entry passes one file: {command}")
    command = [game] + [played if word == "%f" else word for word in command[1:]]
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", HOME=home, XDG_DATA_HOME=home)
    process = subprocess.Popen(command, env=env, cwd=home)
    try:
        for _ in range(100):
            pump(0.1)
            app = next((a for a in pyatspi.Registry.getDesktop(0)
                        if a is not None and a.name == "MudracQ"), None)
            if app and len(app) > 0:
                break
        else:
            check(False, "the game reaches the accessibility bus " + shlex.join(command))
            return 1
        pump(1)
        window = app[0]
        check(window.name.startswith("Trivkan's Mudrac Quiz") and
              window.name.endswith(", pitanja iz datoteke Kviz za čas.txt"),
              f"the window is read as '{window.name}'")
        labels = [label.name for label in showing(window, "label")]
        check("Pitanja iz datoteke Kviz za čas.txt" in labels, f"a label names the file {labels}")
        memos = showing(window, "text")
        question = memos[0].queryText().getText(0, -1) if memos else None
        answers = [button.name for button in showing(window, "radio button")]
        questions = first_group(played)
        check(question in questions and questions[question] in answers,
              f"the file's first question '{question}' with its answers {answers}")
    finally:
        process.terminate()
        process.wait()
        shutil.rmtree(home)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


sys.exit(main())
