#include "app/window/RecentMenu.h"

#include "resources/StringTable.h"

#include <QDir>
#include <QMenu>

// A folder's path is shown as it is: an ampersand in it is no shortcut.
void FillRecentMenu(QMenu& menu, const QStringList& folders, const std::function<void(const QString&)>& open)
{
    menu.clear();
    for (const QString& folder : folders) {
        QString text = QDir::toNativeSeparators(folder);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QObject::connect(menu.addAction(text), &QAction::triggered, &menu, [open, folder] { open(folder); });
    }
    if (folders.isEmpty())
        menu.addAction(QString::fromUtf8(Text::NoRecentCollections))->setEnabled(false);
}
