#include "support/RecordingMessages.h"

bool RecordingMessages::Show(MessageKind kind, const QString& text, const QString& caption)
{
    const bool question = kind == MessageKind::Question;
    shown.append({text, caption, question, kind});
    if (!question)
        return true;
    return answers.isEmpty() ? false : answers.takeFirst();
}

void RecordingMessages::Open(const QUrl& url)
{
    opened.append(url);
}
