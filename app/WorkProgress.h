// Progress of long work running on other threads (a fit, a confidence band): the work
// writes it, the window reads it to show how far the work is and sets Stop to end it.
#pragma once

#include <atomic>
#include <cstdint>

struct TWorkProgress {
    std::atomic<int64_t> Done{0};          // iterations of a fit, finished points of a band
    std::atomic<double> SumOfSquares{0.0}; // a fit's current sum of squares
    std::atomic<bool> Stop{false};         // asks the work to end as soon as it can
};
