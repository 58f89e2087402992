#pragma once

#include <QHash>
#include <QString>

class QWidget;

// Gives every control of the tip table its text (on) or takes it away (off).
void ApplyTips(const QHash<int, QWidget*>& controls, bool on);

// Gives the notice line the tip naming the collection's folder (on), or takes it away (off).
void ApplyFolderTip(QWidget& notice, const QString& folder, bool on);
