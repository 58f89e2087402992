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
    // lock, makes it ready and runs the main window modally until it is
    // closed; today's backup of its collection file is made once the window
    // is on the screen, from the bytes the window read. Once both files are
    // written, the backup made and the lock let go, ends the process with
    // status 0 without freeing its memory piece by piece. Otherwise returns
    // the program's exit status: 2 for a wrong command line, 1 when the
    // folder is refused (another program has it, or no file can be made
    // there), and nothing in it has been read or written then.
    int Start();

private:
    QApplication application_;
};
