// The chart library started for the length of a scope, for tests that need it started
// rather than testing a start-up itself. It runs the top start-up the test program links:
// the whole chart component with the editor, the series (with export and core) without
// it, or the core alone; each of these starts the layers below it.
#pragma once

#include <gtest/gtest.h>

#if __has_include("ChartLibrary.h")
#include "ChartLibrary.h"
#elif __has_include("SeriesUnits.h")
#include "SeriesUnits.h"
#else
#include "CoreUnits.h"
#endif

namespace testsupport {

#if __has_include("ChartLibrary.h")
inline void StartChartLibrary() { InitializeChartUnits(); }
inline void FinishChartLibrary() { FinalizeChartUnits(); }
#elif __has_include("SeriesUnits.h")
inline void StartChartLibrary() { InitializeSeriesUnits(); }
inline void FinishChartLibrary() { FinalizeSeriesUnits(); }
#else
inline void StartChartLibrary() { InitializeCoreUnits(); }
inline void FinishChartLibrary() { FinalizeCoreUnits(); }
#endif

// Starts the library when the outermost of nested scopes begins and finishes it when that
// scope ends: not every unit counts its start-ups, so an inner finish must not undo the
// outer start.
class ChartStarted {
public:
    ChartStarted()
    {
        if (Depth()++ == 0)
            StartChartLibrary();
    }
    ~ChartStarted()
    {
        if (--Depth() == 0)
            FinishChartLibrary();
    }
    ChartStarted(const ChartStarted&) = delete;
    ChartStarted& operator=(const ChartStarted&) = delete;

private:
    static int& Depth()
    {
        static int depth = 0;
        return depth;
    }
};

// A fixture whose tests run with the library started (before SetUp, finished after TearDown).
class ChartStartedTest : public ::testing::Test {
private:
    ChartStarted started_;
};

} // namespace testsupport
