#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QSet>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

// The drop-down list of the Series or Condition box: texts in alphabetical
// order ignoring letter case, each text once ignoring case, only ever growing.
// Each entry keeps its bytes under BytesRole, so picking it gives them back
// exactly.
class ChoiceListModel : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int BytesRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    bool Contains(std::string_view bytes) const;
    // Adds the text unless an entry equals it ignoring case.
    void Add(std::string_view bytes);
    // The same as Add for each text in turn, in one reset of the list: an
    // import may bring thousands of new texts.
    void AddAll(const std::vector<std::string>& texts);

private:
    struct Entry {
        QString text;
        QByteArray bytes;
    };

    static QString Key(const QString& text);

    std::vector<Entry> entries_;
    QSet<QString> keys_;
};
