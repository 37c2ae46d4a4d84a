#include "engine/client/LookAhead.h"

#include <algorithm>

qint64 LookAhead::capFor(qint64 availableMemory)
{
    constexpr qint64 most = qint64(512) << 20;
    constexpr qint64 least = qint64(64) << 20;
    return std::clamp(availableMemory / 4, least, most);
}

void LookAhead::begin(qsizetype count, qint64 capBytes)
{
    cap = capBytes;
    documents.assign(std::size_t(std::max<qsizetype>(count, 0)), {});
    order.clear();
    firstOpen = 0;
}

void LookAhead::begin(const std::vector<Document>& run, qint64 capBytes)
{
    begin(qsizetype(run.size()), capBytes);
    estimate(0, run);
}

void LookAhead::estimate(qsizetype first, const std::vector<Document>& estimates)
{
    if (first < 0 || std::size_t(first) + estimates.size() > documents.size())
        return;
    for (std::size_t i = 0; i < estimates.size(); ++i) {
        Planned& planned = documents[std::size_t(first) + i];
        static_cast<Document&>(planned) = estimates[i];
        planned.estimated = true;
    }
    plan();
}

void LookAhead::plan()
{
    std::vector<double> times;
    for (const Planned& document : documents)
        if (document.estimated)
            times.push_back(document.milliseconds);
    double median = 0;
    if (!times.empty()) {
        std::nth_element(times.begin(), times.begin() + std::ptrdiff_t(times.size() / 2), times.end());
        median = times[times.size() / 2];
    }
    const double longFrom = std::max(longAgainstMedian * median, longAtLeast);
    order.clear();
    for (std::size_t i = 0; i < documents.size(); ++i) {
        documents[i].isLong = documents[i].estimated && documents[i].milliseconds >= longFrom;
        if (documents[i].estimated && !documents[i].queued)
            order.push_back(qsizetype(i));
    }
    // The long ones first, longest first; the others keep the run's order.
    std::stable_sort(order.begin(), order.end(), [this](qsizetype a, qsizetype b) {
        const Planned& first = documents[std::size_t(a)];
        const Planned& second = documents[std::size_t(b)];
        if (first.isLong != second.isLong)
            return first.isLong;
        return first.isLong && first.milliseconds > second.milliseconds;
    });
    firstOpen = 0;
}

std::optional<qsizetype> LookAhead::another(qsizetype turn, Held held)
{
    if (turn < 0 || std::size_t(turn) >= documents.size())
        return std::nullopt;
    const auto done = [&](qsizetype index) { return documents[std::size_t(index)].queued || index < turn; };
    while (firstOpen < order.size() && done(order[firstOpen]))
        ++firstOpen;
    const auto fits = [&](const Document& document) {
        return document.stagedOnDisk ? held.onDisk + document.stagedBytes <= diskCap
                                     : held.inMemory + document.stagedBytes <= cap;
    };
    std::optional<qsizetype> chosen;
    if (!documents[std::size_t(turn)].queued) {
        chosen = turn; // the run waits for it: it goes whatever it holds
    } else {
        for (std::size_t at = firstOpen; at < order.size() && !chosen; ++at)
            if (const qsizetype index = order[at];
                !done(index) && fits(documents[std::size_t(index)]))
                chosen = index;
    }
    if (chosen)
        documents[std::size_t(*chosen)].queued = true;
    return chosen;
}

LookAhead::Queue::iterator LookAhead::next(Queue& waiting, const Queue& held, Elsewhere elsewhere) const
{
    const auto isLong = [](const std::shared_ptr<Conversion>& conversion) { return conversion->expectedLong; };
    if (std::any_of(held.begin(), held.end(), isLong))
        return waiting.end();
    const auto fitsMemory = [&](const Conversion& conversion) {
        return elsewhere.memory <= 0 || elsewhere.memory + conversion.expectedMemory <= memoryBudget;
    };
    const auto ready = [](const Conversion& conversion) {
        return !conversion.copy || conversion.copy->ready.load(std::memory_order_acquire);
    };
    // A long one to a helper that holds nothing, so that it starts at once: the first
    // ready, wherever it was queued (estimates come in batches, and a long document
    // estimated late must not wait behind the ordinary ones queued before it). One
    // helper at a time converts long ones while ordinary ones wait.
    const bool ordinaryWaiting = !std::all_of(waiting.begin(), waiting.end(), isLong);
    if (held.empty() && (!elsewhere.convertingLong || !ordinaryWaiting))
        for (auto it = waiting.begin(); it != waiting.end(); ++it)
            if ((*it)->expectedLong && fitsMemory(**it) && ready(**it))
                return it;
    // The others in the queue's order, each once its copy is ready, passing over those
    // that would need too much memory beside the others.
    for (auto it = waiting.begin(); it != waiting.end(); ++it) {
        const Conversion& conversion = **it;
        if (conversion.expectedLong || !fitsMemory(conversion))
            continue;
        return ready(conversion) ? it : waiting.end();
    }
    return waiting.end();
}
