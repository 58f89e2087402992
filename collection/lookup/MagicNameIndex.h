#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <atomic>

// The names of every Magic card, kept on this machine in an SQLite file with
// a full-text index, so that Card Name can be completed as it is typed
// without asking the network. Built from Scryfall's file of oracle cards.
class MagicNameIndex {
public:
    // Where the window and quillmark-cli keep it: in the user's cache, as it
    // can be downloaded again at any time.
    static QString DefaultPath();

    // Builds the index at target from oracle cards, a JSON array of card
    // objects read piece by piece. The index is made aside and then written
    // safely over target: one already there stays until the new one is
    // whole. False, with the reason, when the cards are not such an array
    // or the index cannot be made; names, when given, gets how many it holds.
    // It may run on a thread of its own, and stops, leaving target alone,
    // soon after stop, when given, turns true.
    static bool Build(QIODevice& oracleCards, const QString& target, QString& reason, int* names = nullptr,
                      const std::atomic<bool>* stop = nullptr);

    // Whether this Quillmark can keep an index at all (Qt's SQLite driver).
    static bool Available();

    explicit MagicNameIndex(const QString& path);
    ~MagicNameIndex();
    MagicNameIndex(const MagicNameIndex&) = delete;
    MagicNameIndex& operator=(const MagicNameIndex&) = delete;

    bool IsOpen() const { return open_; }
    // Names whose words begin as the typed words do, the last typed word
    // taken as the start of one, names that begin with the whole text first,
    // then the shorter.
    QStringList Complete(const QString& typed, int limit = 10) const;

private:
    QString connection_;
    bool open_ = false;
};
