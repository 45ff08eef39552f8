#pragma once

#include <QtGlobal>

#include <random>

// The draw's random source: single-precision values uniform in [0, 1). The program reseeds it
// from the clock; tests seed it with a fixed value.
class UniformSource
{
public:
    explicit UniformSource(quint32 seed = 0);

    void reseed(quint32 seed);
    void reseedFromClock();
    float next();

private:
    std::mt19937 m_engine;
};
