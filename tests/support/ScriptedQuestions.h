#pragma once

#include "app/window/UserQuestions.h"

#include <QDialog>
#include <QString>

#include <functional>

class RecordingMessages;

// Answers the window's questions from the test: boxes go to the recorder,
// files and folders are the ones set here, and a dialog is never shown: the
// script sets it up and says whether it was accepted.
class ScriptedQuestions : public UserQuestions {
public:
    explicit ScriptedQuestions(RecordingMessages& messages);

    bool Show(MessageKind kind, const QString& text, const QString& caption) override;
    void Open(const QUrl& url) override;
    QString AskSavePath(const QString& caption, const QString& suggested, const QString& filter,
                        const QString& suffix, QString* chosenFilter = nullptr) override;
    QString AskOpenPath(const QString& caption, const QString& folder, const QString& filter) override;
    QString AskFolder(const QString& caption, const QString& current) override;
    bool AskDialog(QDialog& dialog) override;

    // The answers; empty is a cancel.
    QString savePath;
    // The file type chosen with it; empty keeps the first one offered.
    QString saveFilter;
    QString openPath;
    QString folder;
    std::function<bool(QDialog&)> dialogScript = [](QDialog&) { return true; };
    // What the questions offered.
    QString suggestedPath;
    QString offeredFilter;
    QString offeredFolder;

private:
    RecordingMessages& messages_;
};
