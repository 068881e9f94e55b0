#include "platform/Random.h"

#include <chrono>

namespace {
std::uint64_t nowTicks()
{
    return std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
}
}

Random::Random()
{
    seedFromTime();
}

void Random::seedFromTime()
{
    if (m_fixed)
        return;
    const std::uint64_t t = nowTicks();
    m_engine.seed(std::uint32_t(t ^ (t >> 32)));
}

void Random::mixInTime()
{
    if (m_fixed)
        return;
    const std::uint64_t t = nowTicks();
    std::seed_seq seq{std::uint32_t(m_engine()), std::uint32_t(t), std::uint32_t(t >> 32)};
    m_engine.seed(seq);
}

double Random::next()
{
    // 53 random bits, so the result is strictly below 1.
    const std::uint64_t hi = m_engine() >> 5;
    const std::uint64_t lo = m_engine() >> 6;
    return double(hi * 67108864ULL + lo) / 9007199254740992.0;
}
