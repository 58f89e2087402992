#include "app/window/WindowMenu.h"

#include "resources/StringTable.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>

// The window manager's own window menu cannot be extended from here, so the
// About entry lives in the window's context menu instead. The commands are
// the window's own actions, shared with any other menu that shows them.
QMenu* CreateWindowMenu(QWidget* parent, const QList<QAction*>& commands, QAction* about)
{
    auto* menu = new QMenu(parent);
    menu->setSeparatorsCollapsible(false);
    menu->addActions(commands);
    menu->addSeparator();
    menu->addAction(about);
    return menu;
}

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

// The edit boxes keep their own editing menu, with the window's entries
// below it, so that the context-menu key reaches them from whichever box
// has the focus.
void ExtendEditMenus(QWidget& window, const QList<QAction*>& commands, QAction* about)
{
    const auto popUp = [commands, about](QLineEdit* edit, const QPoint& globalPosition) {
        QMenu* menu = edit->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addSeparator();
        menu->addActions(commands);
        menu->addSeparator();
        menu->addAction(about);
        menu->popup(globalPosition);
    };
    for (QLineEdit* edit : window.findChildren<QLineEdit*>()) {
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(edit, &QWidget::customContextMenuRequested, &window, [edit, popUp](const QPoint& position) {
            popUp(edit, edit->mapToGlobal(position));
        });
    }
    // A combo box takes the focus and the right-clicks on its frame itself,
    // and answers them with its edit box's plain menu: it gives its edit
    // box's extended one instead.
    for (QComboBox* combo : window.findChildren<QComboBox*>()) {
        QLineEdit* edit = combo->lineEdit();
        if (edit == nullptr)
            continue;
        combo->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(combo, &QWidget::customContextMenuRequested, &window,
                         [combo, edit, popUp](const QPoint& position) { popUp(edit, combo->mapToGlobal(position)); });
    }
}
