#pragma once

#include <QString>
#include <QUrl>

// What a box is for: it tells (Information), warns of what went wrong
// (Warning), or asks Yes or No (Question).
enum class MessageKind { Information, Warning, Question };

// Message boxes and the shell's "open", behind one interface so that the
// commands need no window and the windows can be driven without a modal loop.
class MessageInterface {
public:
    virtual ~MessageInterface() = default;

    // A box of the kind with the text and the caption. A question has Yes and
    // No, Yes the default, and gives true for Yes; the other kinds have one OK
    // button and give true.
    virtual bool Show(MessageKind kind, const QString& text, const QString& caption) = 0;
    // Hands an address to the desktop; the outcome is not looked at.
    virtual void Open(const QUrl& url) = 0;

    void ShowError(const QString& text, const QString& caption) { Show(MessageKind::Warning, text, caption); }
    void ShowInformation(const QString& text, const QString& caption)
    {
        Show(MessageKind::Information, text, caption);
    }
    bool AskYesNo(const QString& text, const QString& caption) { return Show(MessageKind::Question, text, caption); }
};
