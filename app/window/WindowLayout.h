#pragma once

#include <QHash>

class QSize;
class QWidget;

// The smallest window that keeps the button column and the count box inside
// the area below the menu bar: a fixed outer size less the frame the window
// system reports (none before the window is shown), and the bar. The rules
// were drawn for a window whose menu bar lies outside its client area.
QSize MinimumWindowSize(const QWidget& window, const QWidget& menuBar);

// Places the menu bar across the top of a window of the given size and the
// controls' area below it; returns the area's size.
QSize PlaceMenuBar(QWidget& menuBar, QWidget& area, const QSize& window);

// Places the main window's controls for a client area of cx by cy pixels: the
// button column keeps to the right edge, the boxes widen, the table grows,
// and the drop-down lists show as many entries as fit above its bottom. A
// shown filter bar sits below the table, which gives up the bar's height.
void LayOutWindow(const QHash<int, QWidget*>& controls, int cx, int cy);
