#pragma once

#include <QHash>

class QSize;
class QWidget;

// The main window's layout rules, in pixels of a 96 dpi screen: on a screen
// that gives the program more dots per inch (its fonts grow with them) the
// rules' pixels grow alike, and the controls placed by the dialog template
// keep where its dialog units put them.

// The smallest window that keeps every control inside the area below the
// menu bar: a fixed outer size less the frame the window system reports
// (none before the window is shown), and the bar; larger where the font
// puts the template's controls further right or down than the rules
// foresaw. The rules were drawn for a window whose menu bar lies outside
// its client area.
QSize MinimumWindowSize(const QWidget& window, const QWidget& menuBar, const QHash<int, QWidget*>& controls);

// Places the menu bar across the top of a window of the given size and the
// controls' area below it; returns the area's size.
QSize PlaceMenuBar(QWidget& menuBar, QWidget& area, const QSize& window);

// Places the main window's controls for a client area of cx by cy pixels: the
// button column keeps to the right edge, the boxes widen up to it, the table
// grows down to the notice line at the bottom, and the drop-down lists show
// as many entries as fit above its bottom. A shown filter bar sits below the
// table, which gives up the bar's height. The table keeps its top, wherever
// the font put it.
void LayOutWindow(const QHash<int, QWidget*>& controls, int cx, int cy);
