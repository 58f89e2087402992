#pragma once

#include "collection/lookup/CardMatch.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <vector>

// What one answer of a card database held: its matches, or why there are
// none. An answer that cannot be read gives no matches at all, never part of
// them.
struct SourceAnswer {
    std::vector<CardMatch> matches;
    // Empty when the answer was read.
    QString failure;
    // The source said it has no such card: not a fault, just no matches.
    bool notFound = false;
};

// The answer's JSON, or false with the failure set in answer.
bool ReadAnswerJson(const char* source, const QByteArray& body, QJsonValue& json, SourceAnswer& answer);

SourceAnswer UnreadableAnswer(const char* source, const QString& why);
SourceAnswer NotFoundAnswer(const char* source, const QString& said);
