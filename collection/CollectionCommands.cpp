#include "collection/CollectionCommands.h"

#include "base/FileAccess.h"
#include "base/MessageInterface.h"
#include "base/TextEncoding.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/CollectionFile.h"
#include "resources/StringTable.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string>
#include <vector>

bool LoadCollection(const QString& path, CardTableModel& table, ChoiceListModel& series,
                    ChoiceListModel& conditions, MessageInterface& messages)
{
    const bool existed = QFile::exists(path);
    QByteArray raw;
    const bool read = ReadFileCreatingIfMissing(path, raw);
    if (!read && existed)
        messages.ShowError(QString::fromUtf8(Text::CollectionUnreadable), QString::fromUtf8(Text::ErrorCaption));

    // The values keep the file's bytes; the file's encoding decides only how
    // they are shown and how typed text is stored.
    const std::string_view bytes(raw.constData(), std::size_t(raw.size()));
    const TextEncoding encoding = EncodingOfFile(bytes);
    table.SetEncoding(encoding);
    series.SetEncoding(encoding);
    conditions.SetEncoding(encoding);

    // The table ends as if each Card had been inserted at the top in turn.
    CardTableModel::RowBuilder rows;
    std::vector<std::string> seriesTexts;
    std::vector<std::string> conditionTexts;
    ParseCollection(bytes, [&](const Card& card) {
        rows.Append(card);
        seriesTexts.push_back(card[SeriesField]);
        conditionTexts.push_back(card[ConditionField]);
    });
    raw.clear();
    table.SetRowsBottomFirst(std::move(rows));
    series.AddAll(seriesTexts);
    conditions.AddAll(conditionTexts);
    return read || !existed;
}

void SaveCollection(const QString& path, const CardTableModel& table, bool leaveFile, MessageInterface& messages)
{
    if (leaveFile) {
        WriteRecoveryFile(path, table, QString::fromUtf8(Text::CollectionLeftAsItWas), messages);
        return;
    }
    if (!WriteFileSafely(path, [&table](QIODevice& device) { return WriteCollection(device, table); }))
        WriteRecoveryFile(path, table, QString::fromUtf8(Text::SaveToFile), messages);
}

void WriteRecoveryFile(const QString& path, const CardTableModel& table, const QString& why,
                       MessageInterface& messages)
{
    const QString name = QStringLiteral("%1.recovered-%2")
                             .arg(QFileInfo(path).fileName(),
                                  QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const auto write = [&table](QIODevice& device) { return WriteCollection(device, table); };
    QString saved;
    for (const QDir& folder : {QFileInfo(path).absoluteDir(), QDir::home()}) {
        const QString recovery = QFileInfo(folder.filePath(name)).absoluteFilePath();
        if (WriteFileSafely(recovery, write)) {
            saved = recovery;
            break;
        }
    }
    const QString where = saved.isEmpty() ? QString::fromUtf8(Text::NoRecoveryFile)
                                          : QString::fromUtf8(Text::RecoverySaved).arg(saved);
    messages.ShowError(why + QStringLiteral("\r\n") + where, QString::fromUtf8(Text::ErrorWritingFileCaption));
}
