#include "collection/merge/ChangeText.h"

#include "resources/StringTable.h"

namespace {

// An empty value shows as a pair of quotes, so that a value cleared is seen.
QString Value(const std::string& bytes, TextEncoding encoding)
{
    return bytes.empty() ? QStringLiteral("\"\"") : DecodeText(bytes, encoding);
}

QString Changed(char mark, const Card& before, const Card& after, TextEncoding encoding)
{
    const QString changes = FieldChanges(before, after, encoding).join(QStringLiteral("; "));
    return QStringLiteral("%1 %2: %3").arg(QString(QLatin1Char(mark)), CardLabel(before, encoding), changes);
}

QString Single(char mark, const Card& card, TextEncoding encoding)
{
    return QStringLiteral("%1 %2").arg(QString(QLatin1Char(mark)), CardLabel(card, encoding));
}

} // namespace

QString FieldHeading(int field)
{
    const std::string_view heading = field < kCardFieldCount ? kCardHeadings[std::size_t(field)]
                                                              : kDetailHeadings[std::size_t(field - kCardFieldCount)];
    return QString::fromLatin1(heading.data(), qsizetype(heading.size()));
}

QString CardLabel(const Card& card, TextEncoding encoding)
{
    QStringList more;
    for (const int field : {int(SeriesField), int(ConditionField)}) {
        if (!card[std::size_t(field)].empty())
            more << DecodeText(card[std::size_t(field)], encoding);
    }
    const QString name = DecodeText(card[NameField], encoding);
    return more.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, more.join(QStringLiteral(", ")));
}

QStringList FieldChanges(const Card& before, const Card& after, TextEncoding encoding)
{
    QStringList changes;
    for (int field = 0; field < kAllCardFieldCount; ++field) {
        if (before[std::size_t(field)] != after[std::size_t(field)]) {
            changes << QString::fromUtf8(Text::FieldChange)
                           .arg(FieldHeading(field), Value(before[std::size_t(field)], encoding),
                                Value(after[std::size_t(field)], encoding));
        }
    }
    return changes;
}

QStringList ReimportLines(const ReimportDiff& diff, TextEncoding encoding)
{
    QStringList lines;
    for (const ReimportDiff::Added& added : diff.added)
        lines << Single('+', added.card, encoding);
    for (const ReimportDiff::Changed& changed : diff.changed)
        lines << Changed('~', changed.before, changed.after, encoding);
    for (const ReimportDiff::Removed& removed : diff.removed)
        lines << Single('-', removed.card, encoding);
    return lines;
}

QStringList MergeLines(const CollectionMerge& merge, TextEncoding encoding)
{
    QStringList lines;
    for (const Card& card : merge.added)
        lines << Single('+', card, encoding);
    for (const CollectionMerge::Conflict& conflict : merge.conflicts)
        lines << Changed('!', conflict.mine, conflict.theirs, encoding);
    return lines;
}
