#pragma once

#include <QHash>

class QWidget;

// Gives every control of the tip table its text (on) or takes it away (off).
void ApplyTips(const QHash<int, QWidget*>& controls, bool on);
