#pragma once

#include "base/TextEncoding.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QCollator>
#include <QSet>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

// The drop-down list of the Series or Condition box: texts in the order of
// the system's language with letter case ignored, each text once ignoring
// case, only ever growing.
// Each entry keeps its bytes under BytesRole, so picking it gives them back
// exactly.
class ChoiceListModel : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int BytesRole = Qt::UserRole;

    explicit ChoiceListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The encoding the texts are in; set before the first text is added.
    void SetEncoding(TextEncoding encoding) { encoding_ = encoding; }

    bool Contains(std::string_view bytes) const;
    // Adds the text unless an entry equals it ignoring case.
    void Add(std::string_view bytes);
    // The same as Add for each text in turn, in one reset of the list: an
    // import may bring thousands of new texts.
    void AddAll(const std::vector<std::string>& texts);
    // Empties the list, for another collection's texts.
    void Clear();

private:
    struct Entry {
        QString text;
        QByteArray bytes;
        QCollatorSortKey order;
    };

    static QString Key(const QString& text);
    QString Decoded(std::string_view bytes) const;

    TextEncoding encoding_ = TextEncoding::Utf8;
    QCollator collator_;
    std::vector<Entry> entries_;
    QSet<QString> keys_;
};
