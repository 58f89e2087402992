#pragma once

#include <QApplication>

// The program: owns the application object and runs the main window.
class QuillmarkApp {
public:
    QuillmarkApp(int& argc, char** argv);

    // Runs the main window modally until it is closed; both files are written
    // by then. Returns false: the program then ends.
    bool Start();

private:
    QApplication application_;
};
