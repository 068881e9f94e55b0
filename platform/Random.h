#pragma once

#include <cstdint>
#include <random>

// The program's one random generator. Picture choice, box choice and the diffuse filter all
// draw from the same instance, which the caller owns (tests seed it for repeatable runs).
class Random
{
public:
    // Seeded from the clock, and reseeded from it wherever the program asks.
    Random();
    // A fixed sequence: the clock is never consulted (for tests and benchmarks).
    explicit Random(std::uint32_t seed) : m_engine(seed), m_fixed(true) {}

    void seed(std::uint32_t value) { m_engine.seed(value); }
    // Seeds from the time of day.
    void seedFromTime();
    // Mixes the current time into the running state, so draws within one clock tick still differ.
    void mixInTime();
    // Uniform in [0, 1).
    double next();
    // Uniform whole number in [0, n) for n >= 1.
    int below(int n) { return int(next() * n); }

    std::mt19937 &engine() { return m_engine; }

private:
    std::mt19937 m_engine;
    bool m_fixed = false;
};
