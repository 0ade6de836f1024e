#!/usr/bin/python3
"""The game on Wayland: on the desktop session (see desktop_session.sh) the Weston compositor runs
the game with QT_QPA_PLATFORM=wayland, first headless, where the main window must open, then as a
window of the X server, whose keyboard reaches the game through Weston: real key presses play a
game through its boxes to the name entry, which takes a name. What the game shows is read from
the accessibility bus, which Wayland leaves as it is.
Usage: wayland_check.py GAME. Exits with 77 without Weston, Qt's Wayland platform or the bus's
Python binding."""

import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
except ImportError:
    print("skipped: no Python binding of the accessibility bus")
    sys.exit(77)

sys.dont_write_bytecode = True  # the source tree stays clean
from atspi_tree import game_on_bus, press, pump, showing  # noqa: E402

if not shutil.which("weston") or not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland*"):
    print("skipped: Weston or Qt's Wayland platform (qt6-wayland) is not installed")
    sys.exit(77)

TAB, RETURN, DOWN = 0xFF09, 0xFF0D, 0xFF54
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)


def front(app):
    return [w for w in app if w is not None and w.getState().contains(pyatspi.STATE_SHOWING)][-1]


def active(window):
    return window.getState().contains(pyatspi.STATE_ACTIVE)


def says(window):
    return [a.name for a in showing(window, "label")]


def key(keysym, then=lambda: True):
    """A key press, then up to five seconds for what it brings, and a moment for the focus."""
    press(keysym)
    for _ in range(50):
        pump(0.1)
        if then():
            break
    pump(0.3)


def play_by_keys(app):
    """Tab to the answers, Down, Enter, until a wrong answer's boxes lead to the name entry."""
    main = front(app)
    key(TAB)
    key(DOWN)
    for _ in range(20):
        key(RETURN, lambda: front(app) != main and active(front(app)))
        box = says(front(app))
        check(any(s in ("TACAN odgovor!!!", "Odgovor NETACAN !!!") for s in box),
              f"Enter on Odgovori opens a box {box}")
        if "Odgovor NETACAN !!!" in box:
            key(RETURN, lambda: any(s.startswith("Tacan odgovor je") for s in says(front(app)))
                and active(front(app)))
            key(RETURN, lambda: front(app).name == "Cestitamo!!!" and active(front(app)))
            break
        key(RETURN, lambda: active(main))
        press(TAB, 1)  # Shift+Tab back to the answers
        key(DOWN)
    entry = front(app)
    check(entry.name == "Cestitamo!!!", f"the name entry opens '{entry.name}'")
    for letter in "Wl":
        key(ord(letter))
    field = showing(entry, "text")
    typed = field[0].queryText().getText(0, -1) if field else None
    check(typed == "Wl", f"the name entry takes the keys typed: '{typed}'")
    key(RETURN, lambda: active(main))
    check(active(main), "Enter closes the name entry")


def run(backend, env, game, play):
    socket = f"wayland-mudracq-{backend}"
    weston = subprocess.Popen(
        ["weston", f"--backend={backend}-backend.so", "--use-pixman", f"--socket={socket}",
         "--no-config", "--width=1024", "--height=768"],
        env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    children = [weston]
    try:
        for _ in range(100):
            if os.path.exists(os.path.join(env["XDG_RUNTIME_DIR"], socket)):
                break
            time.sleep(0.05)
        children.append(subprocess.Popen(
            [game], env=dict(env, WAYLAND_DISPLAY=socket, QT_QPA_PLATFORM="wayland",
                             QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"), cwd=env["HOME"]))
        app = game_on_bus()
        check(app is not None and "Mudrac Quiz" in front(app).name,
              f"{backend}: the main window opens on Wayland")
        if app is not None and play:
            play(app)
        check(children[1].poll() is None, f"{backend}: the game still runs")
    finally:
        for child in reversed(children):
            child.terminate()
            child.wait()


def main():
    game = os.path.abspath(sys.argv[1])
    home = tempfile.mkdtemp()
    runtime = os.path.join(home, "run")
    os.makedirs(runtime, mode=0o700)
    env = dict(os.environ, HOME=home, XDG_DATA_HOME=home, XDG_RUNTIME_DIR=runtime)
    try:
        # Headless, Weston has no keyboard to give.
        run("headless", env, game, None)
        run("x11", env, game, play_by_keys)
    finally:
        shutil.rmtree(home, ignore_errors=True)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


sys.exit(main())
