#pragma once

#include "app/window/UserQuestions.h"
#include "Measure.h"

#include <optional>

// Answers every question No and opens nothing; boxes are counted and told on
// stderr, since a warning during a benchmark means the run went wrong. Files
// asked for are the one path given; a dialog is taken as it is offered.
class QuietMessages : public UserQuestions {
public:
    bool Show(MessageKind kind, const QString& text, const QString& caption) override;
    void Open(const QUrl& url) override;
    QString AskSavePath(const QString& caption, const QString& suggested, const QString& filter,
                        const QString& suffix, QString* chosenFilter = nullptr) override;
    QString AskOpenPath(const QString& caption, const QString& folder, const QString& filter) override;
    QString AskFolder(const QString& caption, const QString& current) override;
    bool AskDialog(QDialog& dialog) override;

    QString path;
    int errors = 0;
    int notes = 0;
    int questions = 0;
    // From the file's choice to the dialog standing ready: the file read and
    // the dialog built over it.
    Duration dialog{};

private:
    std::optional<Stopwatch> chosen_;
};
