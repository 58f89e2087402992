#include "app/window/WindowMenuBar.h"

#include "app/MainWindow.h"
#include "resources/ControlIds.h"
#include "resources/StringTable.h"

#include <QApplication>
#include <QMenuBar>

namespace {

QMenu* AddMenu(QMenuBar& bar, const char* title, const char* objectName)
{
    QMenu* menu = bar.addMenu(QString::fromUtf8(title));
    menu->setObjectName(QString::fromLatin1(objectName));
    return menu;
}

} // namespace

QMenuBar* CreateWindowMenuBar(MainWindow& window)
{
    auto* bar = new QMenuBar(&window);
    bar->setObjectName(QStringLiteral("menuBar"));
    // The window places the bar itself, above the area its controls are
    // placed in, so the bar stays in the window on any desktop.
    bar->setNativeMenuBar(false);
    // The window's small template font is for the controls; the bar and its
    // menus read as the desktop's other menus do.
    bar->setFont(QApplication::font("QMenuBar"));

    QMenu* file = AddMenu(*bar, Text::FileMenu, "fileMenu");
    file->addAction(window.OpenFolderAction());
    file->addMenu(window.RecentCollectionsMenu());
    file->addSeparator();
    file->addActions({window.ImportCsvAction(), window.ExportCsvAction()});
    file->addActions({window.CommandAction(ControlId::Catalogue), window.CommandAction(ControlId::List)});
    file->addSeparator();
    file->addAction(window.CommandAction(ControlId::Quit));

    QMenu* edit = AddMenu(*bar, Text::EditMenu, "editMenu");
    edit->addActions({window.UndoAction(), window.RedoAction()});
    edit->addSeparator();
    edit->addAction(window.FindAction());
    edit->addSeparator();
    edit->addActions({window.CommandAction(ControlId::Add), window.CommandAction(ControlId::Update),
                      window.CommandAction(ControlId::Delete), window.CommandAction(ControlId::Clear)});
    edit->addSeparator();
    edit->addAction(window.CommandAction(ControlId::Preferences));

    QMenu* view = AddMenu(*bar, Text::ViewMenu, "viewMenu");
    view->addActions({window.BinderAction(), window.StatisticsAction()});
    view->addSeparator();
    view->addAction(window.TooltipsAction());

    QMenu* help = AddMenu(*bar, Text::HelpMenu, "helpMenu");
    help->addActions({window.CommandAction(ControlId::Help), window.AboutAction()});
    return bar;
}
