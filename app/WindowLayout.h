#pragma once

#include <QHash>

class QSize;
class QWidget;

// The smallest client size that keeps the button column and the count box
// inside the window: a fixed outer size less the frame the window system
// reports (none before the window is shown).
QSize MinimumClientSize(const QWidget& window);

// Places the main window's controls for a client area of cx by cy pixels: the
// button column keeps to the right edge, the boxes widen, the table grows,
// and the drop-down lists show as many entries as fit above its bottom. A
// shown filter bar sits below the table, which gives up the bar's height.
void LayOutWindow(const QHash<int, QWidget*>& controls, int cx, int cy);
