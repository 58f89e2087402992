#pragma once

#include <functional>

class QAbstractItemModel;
class QObject;

// Calls changed, while context lives, whenever the table's rows may hold
// other Cards or other values or stand in another order: rows added,
// removed or changed, the table reset or laid out anew.
void OnTableChanges(const QAbstractItemModel& table, const QObject& context, const std::function<void()>& changed);
