// Start-up and shutdown of the chart engine unit.
#pragma once

#include <vector>

struct TClassInfo;

// Sets the largest pixel coordinate of axis conversions and registers the engine's
// streamed classes (axis title, axis, depth axis, series marks, the tool classes) by
// name.
void TeEngineInitialization();
// Unregisters those classes and frees the list of series-source classes.
void TeEngineFinalization();
// The engine classes that start-up registers.
std::vector<const TClassInfo*> TeEngineStreamedClasses();
