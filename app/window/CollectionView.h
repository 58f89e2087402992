#pragma once

#include <QList>
#include <QSize>
#include <QString>

class CardTableView;
class SortHeader;
class QWidget;

// What the window remembers of each collection folder it has shown: its
// size, the column widths the collector set by hand, and the columns that
// sort as numbers. It is the user's, not the collection's: kept with
// QSettings in the user's configuration folder, as the recent collections
// are, never in the data folder, whose files keep their bytes. Only the
// folders shown last are remembered.
struct CollectionView {
    static constexpr qsizetype kFolders = 50;

    // The window's size below its frame, menu bar included; invalid when
    // none is remembered, and the window keeps the size of a first start.
    QSize windowSize;
    bool maximized = false;
    // Per column, the width set by hand, 0 for a column fitted to its texts.
    QList<int> handWidths;
    QList<int> numberColumns;
    // The columns shown, when the collector chose them; empty for the eight.
    QList<int> shownColumns;

    // What is remembered of the folder; nothing for one never shown.
    static CollectionView Recall(const QString& folder);
    // Remembers the window's size and widths, keeping the number columns.
    static void RememberWindow(const QString& folder, QSize windowSize, bool maximized, const QList<int>& handWidths);
    // Remembers the number columns, keeping the rest.
    static void RememberNumberColumns(const QString& folder, const QList<int>& numberColumns);
    // Remembers the columns shown, keeping the rest.
    static void RememberShownColumns(const QString& folder, const QList<int>& shownColumns);
};

// Shows the window on the folder's collection: names the folder in the
// window's title, and gives the window, its table and its header what is
// remembered of the folder: the size (within the screen, and maximised if it
// was), the columns shown, the widths set by hand and the number columns. Where nothing is
// remembered, the window keeps its size and the columns their fitted widths,
// as at a first start.
void ShowCollectionView(const QString& folder, QWidget& window, CardTableView& table, SortHeader& header);
// Remembers the window's size and its table's hand-set widths for the folder.
void RememberCollectionView(const QString& folder, const QWidget& window, const CardTableView& table);
