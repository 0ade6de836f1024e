"""Walks what the accessibility bus shows of a window, as a screen reader does, and presses keys
as a player does."""

import time

import pyatspi
from gi.repository import GLib


def showing(accessible, role):
    """The accessible and its descendants of the role that are on the screen."""
    found = [accessible] if accessible.getRoleName() == role else []
    for child in accessible:
        if child is not None and child.getState().contains(pyatspi.STATE_SHOWING):
            found += showing(child, role)
    return found


def pump(seconds):
    """Lets the bus's events in for a while."""
    end = time.time() + seconds
    while time.time() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        time.sleep(0.02)


def press(keysym, modifiers=0):
    """A real key press through the X server, with Shift or Alt held."""
    generate = pyatspi.Registry.generateKeyboardEvent
    if modifiers:
        generate(modifiers, None, pyatspi.KEY_LOCKMODIFIERS)
    generate(keysym, None, pyatspi.KEY_SYM)
    if modifiers:
        generate(modifiers, None, pyatspi.KEY_UNLOCKMODIFIERS)


def game_on_bus():
    """The game's application on the bus once it shows a window, waited for up to ten seconds
    and a second more for the window to fill; None when it never comes."""
    for _ in range(100):
        pump(0.1)
        app = next((a for a in pyatspi.Registry.getDesktop(0)
                    if a is not None and a.name == "MudracQ"), None)
        if app and len(app) > 0:
            pump(1)
            return app
    return None
