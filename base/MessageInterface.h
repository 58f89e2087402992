#pragma once

#include <QString>
#include <QUrl>

// Message boxes and the shell's "open", behind one interface so that the
// commands need no window and the windows can be driven without a modal loop.
class MessageInterface {
public:
    virtual ~MessageInterface() = default;

    // An error box: the text, the caption, one OK button, no icon.
    virtual void ShowError(const QString& text, const QString& caption) = 0;
    // A Yes/No question with the exclamation-mark icon, Yes the default.
    virtual bool AskYesNo(const QString& text, const QString& caption) = 0;
    // Hands an address to the desktop; the outcome is not looked at.
    virtual void Open(const QUrl& url) = 0;
};
