#include "uniformsource.h"

#include <chrono>

UniformSource::UniformSource(quint32 seed)
    : m_engine(seed)
{ }

void UniformSource::reseed(quint32 seed)
{
    m_engine.seed(seed);
}

void UniformSource::reseedFromClock()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    reseed(static_cast<quint32>(ticks ^ (ticks >> 32)));
}

float UniformSource::next()
{
    // The top 24 bits fill a float's mantissa exactly, so every value is below 1.
    return static_cast<float>(m_engine() >> 8) * 0x1p-24f;
}
