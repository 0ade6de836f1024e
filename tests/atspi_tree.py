"""Walks what the accessibility bus shows of a window, as a screen reader does."""

import pyatspi


def showing(accessible, role):
    """The accessible and its descendants of the role that are on the screen."""
    found = [accessible] if accessible.getRoleName() == role else []
    for child in accessible:
        if child is not None and child.getState().contains(pyatspi.STATE_SHOWING):
            found += showing(child, role)
    return found
