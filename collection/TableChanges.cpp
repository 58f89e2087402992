#include "collection/TableChanges.h"

#include <QAbstractItemModel>

void OnTableChanges(const QAbstractItemModel& table, const QObject& context, const std::function<void()>& changed)
{
    const auto call = [changed] { changed(); };
    QObject::connect(&table, &QAbstractItemModel::rowsInserted, &context, call);
    QObject::connect(&table, &QAbstractItemModel::rowsRemoved, &context, call);
    QObject::connect(&table, &QAbstractItemModel::dataChanged, &context, call);
    QObject::connect(&table, &QAbstractItemModel::modelReset, &context, call);
    QObject::connect(&table, &QAbstractItemModel::layoutChanged, &context, call);
}
