#include "engine/client/PoolPolicy.h"

#include <algorithm>

PoolPolicy::PoolPolicy(int documentsPerHelper, qint64 wornBytes)
    : documentsPerHelper(documentsPerHelper), wornBytes(wornBytes)
{
}

int PoolPolicy::helpersForRun(int requested, int documents, int cores, qint64 availableBytes)
{
    if (requested > 0)
        return std::min(requested, documents);
    if (documents <= 2)
        return 1;
    constexpr qint64 perHelper = qint64(600) << 20;
    const qint64 byMemory = std::max<qint64>(1, availableBytes / perHelper);
    const int byCores = std::max(1, cores);
    return int(std::clamp<qint64>(std::min<qint64>(byCores, byMemory), 1, documents));
}

void PoolPolicy::setSize(int count)
{
    helpers = std::max(1, count);
    failuresInARow = 0;
}

PoolPolicy::AfterLoss PoolPolicy::afterLoss(bool underWay, bool crashed, int& crashes) const
{
    if (underWay && crashed && ++crashes >= crashesToFail)
        return AfterLoss::Fail;
    return AfterLoss::TryAgain;
}
