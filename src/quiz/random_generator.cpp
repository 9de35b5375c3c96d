#include "quiz/random_generator.h"

#include <chrono>

void RandomGenerator::reseed_from_clock()
{
    // Mixing in a counter keeps two reseeds within one clock tick apart.
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::seed_seq sequence{quint32(ticks), quint32(quint64(ticks) >> 32), ++reseeds_};
    engine_.seed(sequence);
}

float RandomGenerator::next_single()
{
    return float(engine_() >> 8) * (1.0f / 16777216.0f);
}

qint16 RandomGenerator::next_position(qint16 count)
{
    return qint16(int(double(count) * double(next_single())) + 1);
}
