#pragma once

#include <QtGlobal>
#include <random>

// Uniform pseudo-random numbers in [0, 1) for the question and answer
// shuffles. Reseeded from the clock whenever a new order is wanted; tests
// seed it with a fixed value instead.
class RandomGenerator
{
public:
    explicit RandomGenerator(quint32 seed = 1) : engine_(seed) {}

    void seed(quint32 value) { engine_.seed(value); }
    void reseed_from_clock();

    // A single-precision value in [0, 1): 24 random bits over 2^24, so it can
    // never round up to 1.0.
    float next_single();

    // A position drawn uniformly from 1..count, as int(count * r) + 1 with the
    // product taken exactly so that a draw close to 1 cannot reach count + 1.
    qint16 next_position(qint16 count);

private:
    std::mt19937 engine_;
    quint32 reseeds_ = 0;
};
