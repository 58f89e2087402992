#pragma once

#include <QApplication>

// The program: owns the application object and runs the main window in its
// data folder.
class QuillmarkApp {
public:
    QuillmarkApp(int& argc, char** argv);

    static const char* Usage();
    static const char* Version();

    // Enters the data folder named on the command line, if any, takes its
    // lock, makes it ready, backs up its collection file once a day and runs
    // the main window modally until it is closed; both files are written by
    // then. Returns the program's exit status: 1 also when the folder is
    // refused (another program has it, or no file can be made there), and
    // nothing in it has been read or written then.
    int Start();

private:
    QApplication application_;
};
