#include "app/MainWindow.h"

#include "prefs/PreferencesDialog.h"

void MainWindow::OnPreferences()
{
    TakeFields();
    PreferencesDialog dialog(this);
    dialog.SetPreferences(prefs_);
    dialog.exec();
    // A cancelled dialog gives back what it was given, and the file is
    // rewritten either way.
    dialog.CopyTo(prefs_);
    SavePreferences();
    ShowFields();
}
