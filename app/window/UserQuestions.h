#pragma once

#include "base/MessageInterface.h"

class QDialog;

// Everything the window asks the user, behind one interface given to it
// once: the message boxes, the file and folder choices, and the dialogs that
// take the settings of a command. The desktop answers with its own dialogs;
// tests answer from a script, with no modal loop.
class UserQuestions : public MessageInterface {
public:
    // A file to write, starting from the suggested one; a name typed without
    // a suffix gets it. Empty when the user cancels. The filter the user
    // chose goes to *chosenFilter when asked for.
    virtual QString AskSavePath(const QString& caption, const QString& suggested, const QString& filter,
                                const QString& suffix, QString* chosenFilter = nullptr) = 0;
    // A file to read, looked for in the folder first; empty when the user cancels.
    virtual QString AskOpenPath(const QString& caption, const QString& folder, const QString& filter) = 0;
    // A folder, starting from the current one; empty when the user cancels.
    virtual QString AskFolder(const QString& caption, const QString& current) = 0;
    // Runs the dialog until it closes; true when it was accepted.
    virtual bool AskDialog(QDialog& dialog) = 0;
};
