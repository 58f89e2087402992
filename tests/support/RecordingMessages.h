#pragma once

#include "base/MessageInterface.h"

#include <QList>
#include <QString>
#include <QUrl>

// Answers questions from a script and records every box and every "open".
class RecordingMessages : public MessageInterface {
public:
    struct Shown {
        QString text;
        QString caption;
        bool question;
        MessageKind kind;
    };

    bool Show(MessageKind kind, const QString& text, const QString& caption) override;
    void Open(const QUrl& url) override;

    // Answers for the next questions, in order; an unscripted question is answered No.
    QList<bool> answers;
    QList<Shown> shown;
    QList<QUrl> opened;
};
