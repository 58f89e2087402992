#include "app/WindowMenu.h"

#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "resources/DialogTemplates.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

namespace {

void AppendAboutEntry(QMenu& menu, MainWindow& window)
{
    menu.addSeparator();
    QObject::connect(menu.addAction(QString::fromUtf8(kAboutMenuText)), &QAction::triggered, &window,
                     &MainWindow::OnAbout);
}

} // namespace

// The window manager's own window menu cannot be extended from here, so the
// About entry lives in the window's context menu instead.
QMenu* MainWindow::CreateWindowMenu()
{
    auto* menu = new QMenu(this);
    menu->setSeparatorsCollapsible(false);
    AppendAboutEntry(*menu, *this);
    return menu;
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateWindowMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// The edit boxes keep their own editing menu, with the About entry below it,
// so that the context-menu key reaches About from whichever box has the focus.
void ExtendEditMenus(MainWindow& window)
{
    for (QLineEdit* edit : window.findChildren<QLineEdit*>()) {
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(edit, &QWidget::customContextMenuRequested, &window, [&window, edit](const QPoint& position) {
            QMenu* menu = edit->createStandardContextMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            AppendAboutEntry(*menu, window);
            menu->popup(edit->mapToGlobal(position));
        });
    }
}

void MainWindow::OnAbout()
{
    AboutDialog about(this);
    about.exec();
}
