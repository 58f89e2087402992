#pragma once

#include "base/MessageInterface.h"

// The desktop's message boxes, over the window that is active, and browser.
class DesktopMessages : public MessageInterface {
public:
    void ShowError(const QString& text, const QString& caption) override;
    bool AskYesNo(const QString& text, const QString& caption) override;
    void Open(const QUrl& url) override;
};
