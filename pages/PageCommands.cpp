#include "app/MainWindow.h"

void MainWindow::OnCatalogue()
{
}

void MainWindow::OnList()
{
}
