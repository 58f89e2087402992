#include "app/MainWindow.h"

#include "app/MessageInterface.h"
#include "collection/TextFile.h"

#include <QFile>

void MainWindow::LoadPreferences()
{
    TakeFields();
    QFile file(QString::fromLatin1(kPreferencesFileName));
    if (!file.exists()) {
        QFile created(file.fileName());
        if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            created.close();
    }
    QByteArray raw;
    if (file.open(QIODevice::ReadOnly) && ReadAll(file, raw)) {
        // "no" is the collector's choice to keep tips off; any other
        // TOOLTIPS line switches them on.
        if (ParsePreferences(std::string_view(raw.constData(), std::size_t(raw.size())), prefs_)
            && prefs_.Tooltips != "no") {
            tooltipsCheckState_ = 1;
            SetTipSupport(true);
        }
    }
    ShowFields();
}

void MainWindow::SavePreferences()
{
    if (!WriteFileSafely(QString::fromLatin1(kPreferencesFileName),
                         [this](QIODevice& device) { return WritePreferences(device, prefs_); }))
        messages_.ShowError(this, QStringLiteral("Save to File"), QStringLiteral("Error Writing File"));
}
