#include "collection/lookup/SourceAnswer.h"

#include "resources/StringTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

bool ReadAnswerJson(const char* source, const QByteArray& body, QJsonValue& json, SourceAnswer& answer)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        answer = UnreadableAnswer(source, error.errorString());
        return false;
    }
    json = document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
    return true;
}

SourceAnswer UnreadableAnswer(const char* source, const QString& why)
{
    SourceAnswer answer;
    answer.failure = QString::fromUtf8(Text::LookupUnreadable).arg(QString::fromUtf8(source), why);
    return answer;
}

SourceAnswer NotFoundAnswer(const char* source, const QString& said)
{
    SourceAnswer answer;
    answer.failure = QString::fromUtf8(Text::LookupSourceSays).arg(QString::fromUtf8(source), said);
    answer.notFound = true;
    return answer;
}
