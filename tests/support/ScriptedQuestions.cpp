#include "support/ScriptedQuestions.h"

#include "support/RecordingMessages.h"

ScriptedQuestions::ScriptedQuestions(RecordingMessages& messages)
    : messages_(messages)
{
}

bool ScriptedQuestions::Show(MessageKind kind, const QString& text, const QString& caption)
{
    return messages_.Show(kind, text, caption);
}

void ScriptedQuestions::Open(const QUrl& url)
{
    messages_.Open(url);
}

QString ScriptedQuestions::AskSavePath(const QString&, const QString& suggested, const QString& filter,
                                       const QString&, QString* chosenFilter)
{
    suggestedPath = suggested;
    offeredFilter = filter;
    if (chosenFilter != nullptr)
        *chosenFilter = saveFilter.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0) : saveFilter;
    return savePath;
}

QString ScriptedQuestions::AskOpenPath(const QString&, const QString& from, const QString&)
{
    offeredFolder = from;
    return openPath;
}

QString ScriptedQuestions::AskFolder(const QString&, const QString& current)
{
    offeredFolder = current;
    return folder;
}

bool ScriptedQuestions::AskDialog(QDialog& dialog)
{
    return dialogScript(dialog);
}
