#include "support/RecordingMessages.h"

void RecordingMessages::ShowError(const QString& text, const QString& caption)
{
    shown.append({text, caption, false});
}

bool RecordingMessages::AskYesNo(const QString& text, const QString& caption)
{
    shown.append({text, caption, true});
    return answers.isEmpty() ? false : answers.takeFirst();
}

void RecordingMessages::Open(const QUrl& url)
{
    opened.append(url);
}
