#pragma once

#include <QtGlobal>

#include <algorithm>
#include <limits>

// How often one source may be asked: at most one request every everyMs, and
// one of its costly kind (a search) every searchEveryMs. A source that
// answered "too many requests" is held until the moment it named. Times are
// milliseconds on any clock that only goes forward.
class RequestPace {
public:
    RequestPace(qint64 everyMs, qint64 searchEveryMs);

    // The moment the next request may go, at or after now; that turn is taken.
    qint64 Book(qint64 now, bool search);

    // The time between two requests of the kind.
    qint64 Interval(bool search) const { return search ? std::max(every_, searchEvery_) : every_; }

    void HoldUntil(qint64 moment);
    // How long the source is still held at now; 0 when it is not.
    qint64 HeldFor(qint64 now) const;

private:
    static constexpr qint64 kNever = std::numeric_limits<qint64>::min();

    qint64 every_;
    qint64 searchEvery_;
    qint64 next_ = kNever;
    qint64 nextSearch_ = kNever;
    qint64 heldUntil_ = kNever;
};
