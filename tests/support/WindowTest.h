#pragma once

#include "app/MainWindow.h"
#include "support/RecordingMessages.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QComboBox;
class QLineEdit;

// A fresh temporary folder made the working directory for one test, with
// helpers to write and read its files and to open a window in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();

    QString Path(const QString& name) const;
    void Write(const QString& name, const QByteArray& bytes) const;
    QByteArray Read(const QString& name) const;
    bool Exists(const QString& name) const;

private:
    QTemporaryDir dir_;
    QString previous_;
};

// A main window opened in a temporary folder, with recorded message boxes.
struct WindowFixture {
    TempFolder folder;
    RecordingMessages messages;
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

// The bytes of a collection file for the given records (NAME first), CR LF.
QByteArray CollectionBytes(const QList<QList<QByteArray>>& records);
