#include "app/MainWindow.h"

#include "app/MessageInterface.h"
#include "collection/CollectionFile.h"
#include "collection/TextFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <vector>

namespace {

const QString kWriteErrorText = QStringLiteral("Save to File");
const QString kWriteErrorCaption = QStringLiteral("Error Writing File");

// Opens qmk.dat for reading, creating it empty when it does not exist.
bool OpenForReading(QFile& file)
{
    if (!file.exists()) {
        QFile created(file.fileName());
        if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            created.close();
    }
    return file.open(QIODevice::ReadOnly);
}

} // namespace

void MainWindow::LoadCollection()
{
    TakeFields();
    QFile file(QString::fromLatin1(kCollectionFileName));
    const bool existed = file.exists();
    QByteArray raw;
    const bool read = OpenForReading(file) && ReadAll(file, raw);
    if (!read && existed) {
        collectionUnreadable_ = true;
        messages_.ShowError(this,
                            QStringLiteral("Your collection file qmk.dat could not be read.\r\n"
                                           "It will not be overwritten; when Quillmark closes, the Cards of "
                                           "this run are saved to a recovery file beside it."),
                            QStringLiteral("Error"));
    }

    // The table ends as if each Card had been inserted at the top in turn.
    CardTableModel::RowBuilder rows;
    std::vector<std::string> series;
    std::vector<std::string> conditions;
    fit_->Clear();
    ParseCollection(std::string_view(raw.constData(), std::size_t(raw.size())), [&](const Card& card) {
        rows.Append(card);
        series.push_back(card[SeriesField]);
        conditions.push_back(card[ConditionField]);
        fit_->Add(card);
    });
    raw.clear();
    table_.SetRowsBottomFirst(std::move(rows));
    seriesChoices_->AddAll(series);
    conditionChoices_->AddAll(conditions);
    AutosizeColumns();
    RefreshRowCount();
    ClearEntryFields();
    ShowFields();
}

void MainWindow::SaveCollection()
{
    ClearEntryFields();
    TakeFields();
    if (collectionUnreadable_) {
        WriteRecoveryFile(QStringLiteral("qmk.dat could not be read when Quillmark started, so it was left as it was."));
    } else if (!WriteFileSafely(QString::fromLatin1(kCollectionFileName),
                                [this](QIODevice& device) { return WriteCollection(device, table_); })) {
        WriteRecoveryFile(kWriteErrorText);
    }
    ClearEntryFields();
    ShowFields();
}

void MainWindow::WriteRecoveryFile(const QString& why)
{
    const QString name = QStringLiteral("%1.recovered-%2")
                             .arg(QString::fromLatin1(kCollectionFileName),
                                  QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const auto write = [this](QIODevice& device) { return WriteCollection(device, table_); };
    QString saved;
    for (const QDir& folder : {QDir::current(), QDir::home()}) {
        const QString path = QFileInfo(folder.filePath(name)).absoluteFilePath();
        if (WriteFileSafely(path, write)) {
            saved = path;
            break;
        }
    }
    const QString where = saved.isEmpty() ? QStringLiteral("No recovery file could be written either.")
                                          : QStringLiteral("Your Cards were saved to %1").arg(saved);
    messages_.ShowError(this, why + QStringLiteral("\r\n") + where, kWriteErrorCaption);
}
