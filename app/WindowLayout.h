#pragma once

class QSize;
class QWidget;

// The smallest client size that keeps the button column and the count box
// inside the window: a fixed outer size less the frame the window system
// reports (none before the window is shown).
QSize MinimumClientSize(const QWidget& window);
