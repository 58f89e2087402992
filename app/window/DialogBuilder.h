#pragma once

#include "resources/DialogTemplates.h"

#include <QHash>
#include <QRect>

class QDialog;
class QWidget;

// Pixels per dialog unit, from the dialog font's metrics.
struct DialogUnits {
    int baseX;
    int baseY;

    static DialogUnits Of(const QWidget& dialog);
    QRect ToPixels(int x, int y, int width, int height) const;
    int X(int units) const;
    int Y(int units) const;
};

// Creates the template's controls on the dialog, in template order (so the
// tab order follows it), sets the title and client size, and returns the
// controls that have a control number.
QHash<int, QWidget*> BuildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate);
// The same, with the controls on an area of the dialog, which takes the
// template's client size; the dialog's own size is the caller's.
QHash<int, QWidget*> BuildDialog(QDialog& dialog, QWidget& area, const DialogTemplate& dialogTemplate);
