#pragma once

class MainWindow;

// Appends the About entry to the editing menu of each of the window's edit boxes.
void ExtendEditMenus(MainWindow& window);
