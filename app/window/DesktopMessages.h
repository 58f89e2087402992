#pragma once

#include "app/window/UserQuestions.h"

// The desktop's message boxes and file dialogs, over the window that is
// active, and its browser.
class DesktopMessages : public UserQuestions {
public:
    bool Show(MessageKind kind, const QString& text, const QString& caption) override;
    void Open(const QUrl& url) override;
    QString AskSavePath(const QString& caption, const QString& suggested, const QString& filter,
                        const QString& suffix, QString* chosenFilter = nullptr) override;
    QString AskOpenPath(const QString& caption, const QString& folder, const QString& filter) override;
    QString AskFolder(const QString& caption, const QString& current) override;
    bool AskDialog(QDialog& dialog) override;
};
