#pragma once

#include <QApplication>

// The program: owns the application object and runs the main window in its
// data folder.
class QuillmarkApp {
public:
    QuillmarkApp(int& argc, char** argv);

    static const char* Usage();
    static const char* Version();

    // Enters the data folder named on the command line, if any, and runs the
    // main window modally until it is closed; both files are written by then.
    // Returns the program's exit status.
    int Start();

private:
    QApplication application_;
};
