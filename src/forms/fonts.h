#pragma once

class QFont;

// The window fonts, mapped to faces Debian provides: the heavy sans "Arial Black" to Lato Black,
// "MS Sans Serif" to Liberation Sans, and the decorative "Bangle" to Comic Neue.
QFont arialBlackFont(int pixelHeight);
QFont msSansSerifFont(int pixelHeight, bool bold = false);
QFont bangleFont(int pixelHeight, bool bold = false);
// "MS Sans Serif" where long lines must fit a fixed width: Liberation Sans Narrow.
QFont narrowSansFont(int pixelHeight);
