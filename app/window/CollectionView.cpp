#include "app/window/CollectionView.h"

#include "app/table/CardTableView.h"
#include "app/table/SortHeader.h"
#include "app/window/WindowTitle.h"
#include "prefs/UserSettings.h"
#include "resources/DialogTemplates.h"

#include <QCryptographicHash>
#include <QSettings>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace {

const QString kGroup = QStringLiteral("CollectionViews");
const QString kOrder = QStringLiteral("Order");

// A folder's key: its path, which may hold any character, hashed.
QString KeyOf(const QString& folder)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(SettingsFolderName(folder).toUtf8(), QCryptographicHash::Sha1).toHex());
}

QList<int> Numbers(const QString& text)
{
    QList<int> numbers;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int number = part.toInt(&ok);
        if (!ok)
            return {};
        numbers << number;
    }
    return numbers;
}

QString Text(const QList<int>& numbers)
{
    QStringList parts;
    for (const int number : numbers)
        parts << QString::number(number);
    return parts.join(QLatin1Char(','));
}

// Writes the folder's values, and makes it the most recent folder; the
// oldest beyond the limit are forgotten.
void Remember(const QString& folder, const std::function<void(QSettings&)>& write)
{
    QSettings settings = UserSettings();
    settings.beginGroup(kGroup);
    const QString key = KeyOf(folder);
    QStringList order = settings.value(kOrder).toStringList();
    order.removeAll(key);
    order.prepend(key);
    while (order.size() > CollectionView::kFolders)
        settings.remove(order.takeLast());
    settings.setValue(kOrder, order);
    settings.beginGroup(key);
    settings.setValue(QStringLiteral("Folder"), SettingsFolderName(folder));
    write(settings);
}

} // namespace

CollectionView CollectionView::Recall(const QString& folder)
{
    QSettings settings = UserSettings();
    settings.beginGroup(kGroup);
    settings.beginGroup(KeyOf(folder));
    CollectionView view;
    const QSize size = settings.value(QStringLiteral("WindowSize")).toSize();
    if (size.isValid() && size.width() > 0 && size.height() > 0)
        view.windowSize = size;
    view.maximized = settings.value(QStringLiteral("Maximized")).toBool();
    view.handWidths = Numbers(settings.value(QStringLiteral("HandWidths")).toString());
    view.numberColumns = Numbers(settings.value(QStringLiteral("NumberColumns")).toString());
    view.shownColumns = Numbers(settings.value(QStringLiteral("ShownColumns")).toString());
    return view;
}

void CollectionView::RememberWindow(const QString& folder, QSize windowSize, bool maximized,
                                    const QList<int>& handWidths)
{
    Remember(folder, [&](QSettings& settings) {
        settings.setValue(QStringLiteral("WindowSize"), windowSize);
        settings.setValue(QStringLiteral("Maximized"), maximized);
        settings.setValue(QStringLiteral("HandWidths"), Text(handWidths));
    });
}

void CollectionView::RememberNumberColumns(const QString& folder, const QList<int>& numberColumns)
{
    Remember(folder,
             [&](QSettings& settings) { settings.setValue(QStringLiteral("NumberColumns"), Text(numberColumns)); });
}

void CollectionView::RememberShownColumns(const QString& folder, const QList<int>& shownColumns)
{
    Remember(folder, [&](QSettings& settings) { settings.setValue(QStringLiteral("ShownColumns"), Text(shownColumns)); });
}

void ShowCollectionView(const QString& folder, QWidget& window, CardTableView& table, SortHeader& header)
{
    window.setWindowTitle(CollectionWindowTitle(QString::fromUtf8(MainWindowTemplate().title), folder));
    const CollectionView view = CollectionView::Recall(folder);
    header.SetNumberColumns(view.numberColumns);
    table.SetShownColumns(view.shownColumns);
    table.SetHandWidths(view.handWidths);
    if (!view.windowSize.isValid())
        return;
    QSize size = view.windowSize;
    if (const QScreen* screen = window.screen())
        size = size.boundedTo(screen->availableSize());
    if (!view.maximized && window.isMaximized()) {
        if (window.isVisible())
            window.showNormal();
        else
            window.setWindowState(window.windowState() & ~Qt::WindowMaximized);
    }
    window.resize(size.expandedTo(window.minimumSize()));
    if (view.maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void RememberCollectionView(const QString& folder, const QWidget& window, const CardTableView& table)
{
    // A maximised window is remembered by the size it has when it is not.
    const QSize normal = window.normalGeometry().size();
    const QSize size = window.isMaximized() && normal.isValid() && !normal.isEmpty() ? normal : window.size();
    CollectionView::RememberWindow(folder, size, window.isMaximized(), table.HandWidths());
}
