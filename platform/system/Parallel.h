// Work spread over the machine's cores. A fixed pool of threads, started on first use,
// runs the items of one call at a time; the calling thread takes items too.
#pragma once

#include <functional>

// The number of threads a call uses (the machine's cores, at least 1).
int ParallelThreadCount();

// Runs Body(0) .. Body(Count - 1), each once, in any order and on any of the pool's
// threads; returns when all have ended. An exception of an item is raised here once all
// items have ended (the first one when several fail). Body must not call ParallelFor.
void ParallelFor(int Count, const std::function<void(int)>& Body);
