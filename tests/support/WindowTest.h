#pragma once

#include "app/MainWindow.h"
#include "support/RecordingMessages.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <memory>

class QAction;
class QComboBox;
class QLineEdit;

// A main window opened in a temporary folder, with recorded message boxes
// and scripted answers to its other questions.
struct WindowFixture {
    TempFolder folder;
    RecordingMessages messages;
    ScriptedQuestions questions{messages};
    std::unique_ptr<MainWindow> window;

    // Opens the window (reading the folder's files) and shows it.
    MainWindow& Open();
    // Closes it with Quit, as the user would; both files are written.
    void Quit();

    template <typename T>
    T* Find(const char* objectName) const
    {
        return window->findChild<T*>(QString::fromLatin1(objectName));
    }
    QLineEdit* Field(const char* objectName) const;
    // Types into an entry field, replacing what it held.
    void Type(const char* objectName, const QString& text) const;
    void Click(const char* buttonName) const;
    void ClickRow(int row) const;
};

// The window's command of that object name; the test stops when there is none.
QAction* Action(const QWidget& window, const char* objectName);

// Types the text into the widget key by key, characters beyond ASCII too.
void TypeKeys(QWidget* widget, const QString& text);
