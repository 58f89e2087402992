#include "app/MainWindow.h"

#include "app/ApplicationIcon.h"
#include "app/WindowLayout.h"
#include "app/WindowMenu.h"

#include <QIcon>

void MainWindow::SetUpWindowFurniture()
{
    setWindowIcon(ApplicationIcon());
    // A minimised window is drawn by the window manager here, not by the program.
    setMinimumSize(MinimumClientSize(*this));
    ExtendEditMenus(*this);
}
