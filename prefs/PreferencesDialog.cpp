#include "app/MainWindow.h"

void MainWindow::OnPreferences()
{
}
