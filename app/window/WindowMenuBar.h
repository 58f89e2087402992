#pragma once

class MainWindow;
class QMenuBar;

// The window's menu bar: each of the window's own actions under the title
// where a user looks for it, the same actions that its buttons, shortcuts
// and right-click menu run.
QMenuBar* CreateWindowMenuBar(MainWindow& window);
