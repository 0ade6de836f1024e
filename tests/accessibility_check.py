#!/usr/bin/python3
"""What a screen reader gets: plays the game with real key presses on a desktop session (see
desktop_session.sh) and reads the accessibility bus (AT-SPI) as a screen reader does: each window,
control and box with its role and text, each keyboard focus move announced.
Usage: accessibility_check.py GAME. Exits with 77 without the bus's Python binding."""

import os
import shutil
import subprocess
import sys
import tempfile

try:
    import pyatspi
except ImportError:
    sys.exit(77)

sys.dont_write_bytecode = True  # the source tree stays clean
import atspi_tree  # noqa: E402
from atspi_tree import game_on_bus, pump, showing  # noqa: E402

TAB, RETURN, DOWN, F4, SHIFT, ALT = 0xFF09, 0xFF0D, 0xFF54, 0xFFC1, 1, 8
failures = []
focus = []  # (role, name) of each control announced as taking the focus


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)


def press(keysym, modifiers=0):
    focus.clear()
    atspi_tree.press(keysym, modifiers)
    pump(0.4)


def names(accessible, role):
    return [n.name for n in showing(accessible, role)]


def text(accessible, role="text"):
    memos = showing(accessible, role)
    return memos[0].queryText().getText(0, -1) if memos else None


def front(app):
    return [w for w in app if w is not None and w.getState().contains(pyatspi.STATE_SHOWING)][-1]


def box(app, says, buttons):
    labels = names(front(app), "label")
    check(any(label.startswith(says) for label in labels) and
          names(front(app), "push button") == buttons and
          focus[-1:] == [("push button", buttons[0])],
          f"box {labels} with {buttons}, the first announced as focused")
    return labels


def play(app):
    main = front(app)
    check(main.getRoleName() == "frame" and "Mudrac Quiz" in main.name,
          f"main window '{main.name}'")
    check(names(main, "label") == ["IQ: 20", "Pitanje 1"], "labels 'IQ: 20' and 'Pitanje 1'")
    check(text(main) not in (None, "", "Memo1"), f"question memo reads '{text(main)}'")
    answers = names(main, "radio button")
    check(len(answers) == 4 and all(answers), f"answers as named radio buttons {answers}")
    check(names(main, "push button") == ["Odgovori", "Joker", "Extra pomoc", "Mini pomoc"],
          "the four buttons by name")

    press(TAB)
    check(focus == [("radio button", answers[0])], f"Tab announces the first answer {focus}")
    press(DOWN)
    check(focus == [("radio button", answers[1]), ("push button", "Odgovori")],
          f"Down announces the second answer, then Odgovori {focus}")
    for _ in range(20):  # the second answer until one is wrong; then the name entry opens
        press(RETURN)
        wrong = "Odgovor NETACAN !!!" in box(app, ("TACAN odgovor!!!", "Odgovor NETACAN"), ["OK"])
        press(RETURN)
        if wrong:
            box(app, 'Tacan odgovor je "', ["OK"])
            press(RETURN)
            break
        press(TAB, SHIFT)
        press(DOWN)
    entry = front(app)
    check(entry.name == "Cestitamo!!!" and text(entry) == "Upisi svoje ime !!!" and
          focus[-1:] == [("text", "")], f"name entry '{entry.name}', its field focused {focus}")
    press(RETURN)

    press(TAB)  # from Odgovori to the Joker of the new game
    press(RETURN)
    box(app, "Da li ste sigurni da zelite da iskoristite jokera", ["Yes", "No"])
    press(RETURN)
    check(focus[-1:] and focus[-1][0] == "radio button", f"after the Joker, an answer {focus}")

    for keys, title, says in (([(0x69, ALT), (0x74, 0)], "Highscores", "1: (IQ "),
                              ([(0x70, ALT), (0x70, 0)], "Pravila kviza", "OSNOVNA"),
                              ([(0x70, ALT), (DOWN, 0), (RETURN, 0)], "Info", "Verzija")):
        for key, modifiers in keys:
            press(key, modifiers)
        window = front(app)
        check(window.name == title and says in (text(window) or ""), f"'{title}' and its text")
        press(F4, ALT)
        check(front(app).name == main.name, f"Alt+F4 closes '{title}'")


def main():
    pyatspi.Registry.registerEventListener(
        lambda e: e.detail1 and focus.append((e.source.getRoleName(), e.source.name)),
        "object:state-changed:focused")
    home = tempfile.mkdtemp()
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", HOME=home, XDG_DATA_HOME=home)
    game = subprocess.Popen([sys.argv[1]], env=env, cwd=home)
    try:
        app = game_on_bus()
        if app is None:
            check(False, "the game reaches the accessibility bus")
            return 1
        play(app)
    finally:
        game.terminate()
        game.wait()
        shutil.rmtree(home, ignore_errors=True)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


sys.exit(main())
