#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"
#include "collection/merge/CollectionMerge.h"
#include "collection/merge/ReimportDiff.h"

#include <QString>
#include <QStringList>

// How the changes of a re-import or a merge are told, in the window's list
// and on quillmark-cli's output alike.

// "Ember Wisp (Ashfall, Played)": the Card's Name, with its Series and
// Condition when it has them.
QString CardLabel(const Card& card, TextEncoding encoding);

// A field's heading in the card table: "Name", "Qty", "Set".
QString FieldHeading(int field);

// Each field that differs, as "Location: Binder 1 -> Binder 2".
QStringList FieldChanges(const Card& before, const Card& after, TextEncoding encoding);

// One line per change: "+ Card" added, "~ Card: Field: old -> new; ..."
// changed, "- Card" removed.
QStringList ReimportLines(const ReimportDiff& diff, TextEncoding encoding);
// One line per Card the merge adds ("+ Card") and per conflict ("! Card:
// Field: mine -> theirs; ...").
QStringList MergeLines(const CollectionMerge& merge, TextEncoding encoding);
