#include "import/RandomBatch.h"

#include "import/FilterKernels.h"

#include <sstream>
#include <vector>

// Random::next() takes two engine words: the top 27 bits of the first and the top 26 bits of
// the second. toUnit() repeats that; a test compares the two on long runs, so a change to
// Random::next() cannot slip by unnoticed.

namespace {
constexpr std::size_t M = 397;
constexpr std::uint32_t MatrixA = 0x9908b0dfu;
constexpr std::uint32_t Upper = 0x80000000u;
constexpr std::uint32_t Lower = 0x7fffffffu;

inline std::uint32_t twist(std::uint32_t a, std::uint32_t b, std::uint32_t far)
{
    const std::uint32_t y = (a & Upper) | (b & Lower);
    return far ^ (y >> 1) ^ ((0u - (y & 1u)) & MatrixA);
}

inline std::uint32_t temper(std::uint32_t z)
{
    z ^= z >> 11;
    z ^= (z << 7) & 0x9d2c5680u;
    z ^= (z << 15) & 0xefc60000u;
    z ^= z >> 18;
    return z;
}
}

RandomBatch::RandomBatch(Random &random) : m_random(random)
{
    // libstdc++ writes the 624 state words followed by its read position; that is the only
    // layout we take over. Anything else keeps the slow, always-correct path.
    std::ostringstream out;
    out << random.engine();
    std::istringstream in(out.str());
    std::vector<unsigned long long> values;
    values.reserve(N + 1);
    unsigned long long v = 0;
    while (in >> v)
        values.push_back(v);
    if (values.size() != N + 1 || values[N] > N)
        return;
    for (std::size_t i = 0; i < N; ++i) {
        if (values[i] > 0xffffffffull)
            return;
        m_state[i] = std::uint32_t(values[i]);
    }
    m_pos = std::size_t(values[N]);
    m_fast = true;
}

RandomBatch::~RandomBatch()
{
    finish();
}

TUURBORD_VECTOR_CLONES void RandomBatch::regenerate()
{
    std::uint32_t *x = m_state.data();
    for (std::size_t k = 0; k < N - M; ++k)
        x[k] = twist(x[k], x[k + 1], x[k + M]);
    for (std::size_t k = N - M; k < N - 1; ++k)
        x[k] = twist(x[k], x[k + 1], x[k + M - N]);
    x[N - 1] = twist(x[N - 1], x[0], x[M - 1]);
    m_pos = 0;
}

TUURBORD_VECTOR_CLONES void RandomBatch::words(std::uint32_t *out, std::size_t count)
{
    if (!m_fast) {
        auto &engine = m_random.engine();
        for (std::size_t i = 0; i < count; ++i)
            out[i] = std::uint32_t(engine());
        return;
    }
    while (count > 0) {
        if (m_pos == N)
            regenerate();
        const std::size_t take = std::min(count, N - m_pos);
        const std::uint32_t *src = m_state.data() + m_pos;
        for (std::size_t i = 0; i < take; ++i)
            out[i] = temper(src[i]);
        out += take;
        count -= take;
        m_pos += take;
    }
}

void RandomBatch::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    if (!m_fast)
        return;
    std::ostringstream out;
    for (std::size_t i = 0; i < N; ++i)
        out << m_state[i] << ' ';
    out << m_pos;
    std::istringstream in(out.str());
    in >> m_random.engine();
}
