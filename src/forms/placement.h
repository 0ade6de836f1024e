#pragma once

class QPoint;
class QWidget;

// Puts a window at its designed screen position (of its frame's top left corner) and keeps it
// there wherever it fits on its screen; otherwise it is moved the least needed to lie wholly on
// the screen (top left corner first when it is larger). Checked at every showing, from where the
// window then stands, and again once the window manager's frame is known.
void placeAtDesignedPosition(QWidget& window, const QPoint& designed);
