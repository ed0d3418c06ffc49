// Normal random deviates for the confidence band: a fast table method for N(0, 1) over a
// lagged subtractive uniform generator whose state is global to this unit.
#pragma once

#include <cstdint>

// Reseeds the generator from Seed; 0 leaves the state as it is. Returns the seed.
double RandomNormalInit(int32_t Seed);

// A standard normal deviate; advances the state.
double RandomNormal();

// |B| with the sign of A (A < 0 gives -|B|).
double RndSign(double A, double B);
