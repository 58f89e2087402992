#include "collection/lookup/RequestPace.h"

#include <algorithm>

RequestPace::RequestPace(qint64 everyMs, qint64 searchEveryMs)
    : every_(everyMs)
    , searchEvery_(searchEveryMs)
{
}

qint64 RequestPace::Book(qint64 now, bool search)
{
    qint64 at = std::max(now, next_);
    if (search)
        at = std::max(at, nextSearch_);
    next_ = at + every_;
    if (search)
        nextSearch_ = at + searchEvery_;
    return at;
}

void RequestPace::HoldUntil(qint64 moment)
{
    heldUntil_ = std::max(heldUntil_, moment);
}

qint64 RequestPace::HeldFor(qint64 now) const
{
    return heldUntil_ > now ? heldUntil_ - now : 0;
}
