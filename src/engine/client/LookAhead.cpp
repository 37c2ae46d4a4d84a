#include "engine/client/LookAhead.h"

void LookAhead::begin(const QStringList&, int helpers)
{
    limit = documentsPerHelper * std::size_t(helpers);
}

bool LookAhead::wantsAnother(const Queue& ahead) const
{
    return ahead.size() < limit;
}

LookAhead::Queue::iterator LookAhead::next(Queue& waiting) const
{
    // In the queue's order: the run waits for the first.
    if (waiting.empty()
        || (waiting.front()->copy && !waiting.front()->copy->ready.load(std::memory_order_acquire)))
        return waiting.end();
    return waiting.begin();
}
