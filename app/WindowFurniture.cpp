#include "app/MainWindow.h"

#include <QResizeEvent>

void MainWindow::SetUpWindowFurniture()
{
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
}

void MainWindow::OnSize(int, int)
{
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event)
{
    QDialog::contextMenuEvent(event);
}

QMenu* MainWindow::CreateWindowMenu()
{
    return nullptr;
}

void MainWindow::OnAbout()
{
}

void MainWindow::OnHelpButton()
{
}

void MainWindow::OnTooltipsCheck()
{
}

void MainWindow::SetTipSupport(bool on)
{
    tipSupport_ = on;
}
