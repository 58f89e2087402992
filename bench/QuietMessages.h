#pragma once

#include "base/MessageInterface.h"

// Answers every question No and opens nothing; boxes are counted and told on
// stderr, since a box during a benchmark means the run went wrong.
class QuietMessages : public MessageInterface {
public:
    void ShowError(const QString& text, const QString& caption) override;
    bool AskYesNo(const QString& text, const QString& caption) override;
    void Open(const QUrl& url) override;

    int errors = 0;
    int questions = 0;
};
