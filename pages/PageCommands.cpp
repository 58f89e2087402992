#include "app/MainWindow.h"

void MainWindow::OnCatalogue()
{
}

void MainWindow::OnList()
{
}

std::string MainWindow::LoadTemplate(const char*)
{
    return {};
}

int MainWindow::WritePage(const QString&, std::string_view)
{
    return -1;
}
