// The program's seeded pseudo-random generator: a 32-bit linear congruential generator
// whose whole state is RandSeed, so that a sequence can be repeated by setting the seed.
// Sample values of chart series are drawn from it.
#pragma once

#include <cstdint>

// The generator's state; setting it restarts the sequence.
extern int32_t RandSeed;
// An integer from 0 to Range - 1 (0 when Range <= 0).
int Random(int Range);
// A number from 0 (included) to 1 (excluded).
double Random();
// Seeds the generator from the clock.
void Randomize();
