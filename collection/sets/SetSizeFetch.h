#pragma once

#include "collection/sets/SetCompletion.h"

#include <QObject>
#include <QString>

#include <vector>

class LookupService;
class SetSizeCache;

// Asks the card databases for the sizes of the sets the cache does not
// know, each once (YGOPRODeck lists all its sets in one answer), and puts
// them in the cache, which it saves when done. Sets of other games are
// passed over.
class SetSizeFetch : public QObject {
    Q_OBJECT

public:
    SetSizeFetch(LookupService& service, SetSizeCache& cache, QObject* parent = nullptr);
    ~SetSizeFetch() override;

    // Starts asking; Finished comes once, from the event loop, even when
    // nothing needs asking.
    void Start(const std::vector<SetProgress>& sets);
    // Stops asking: what was found stays in the cache, which is saved.
    void Cancel();
    bool Running() const { return !tickets_.empty(); }

signals:
    // Answers had of those asked for.
    void Progress(int done, int total);
    // failures lists the sets that could not be sized and why, one a line;
    // empty when all were.
    void Finished(const QString& failures);

private:
    void Answered(quint64 ticket);
    void Finish();

    LookupService& service_;
    SetSizeCache& cache_;
    std::vector<quint64> tickets_;
    int total_ = 0;
    QStringList failures_;
};
