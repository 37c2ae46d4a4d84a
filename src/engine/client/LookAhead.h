#pragma once

#include "engine/client/Conversion.h"

#include <QStringList>

#include <deque>
#include <memory>

// The rule for working ahead of the run, in one place: how far ahead of the run the
// announced documents are queued for the helpers, and which of the documents waiting
// for a helper a helper with room takes next. Whatever it chooses, the run still gets
// its results in its own order (LibreOfficeService waits for each at its turn).
//
// The rule: four documents a helper ahead of the run, taken in the queue's order (a
// document the run waits for now is queued first), each only once its private copy
// is ready.
class LookAhead {
public:
    using Queue = std::deque<std::shared_ptr<Conversion>>;

    // The run of `documents`, converted by `helpers` helpers, begins.
    void begin(const QStringList& documents, int helpers);
    // Whether another document of the run is to be queued, with `ahead` queued for the
    // run and not yet taken by it.
    bool wantsAnother(const Queue& ahead) const;
    // The waiting conversion a helper with room takes now; waiting.end() when it is to
    // wait for now.
    Queue::iterator next(Queue& waiting) const;

private:
    // Enough ahead to keep every helper busy while the run writes what is done.
    static constexpr std::size_t documentsPerHelper = 4;

    std::size_t limit = 0;
};
