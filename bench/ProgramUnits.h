// The program's units and a headless application for benchmark programs that draw
// charts, galleries or windows as the program does.
#pragma once

#include "Startup.h"
#include "controls/Forms.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

// Starts the units and the application once; later calls do nothing.
inline void StartProgramUnits()
{
    static const bool started = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InitializeUnits();
        Application->Initialize();
        return true;
    }();
    (void)started;
}

// A benchmark program's main: the units around the run of every registered benchmark.
inline int RunBenchmarksWithProgramUnits(int argc, char** argv)
{
    StartProgramUnits();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FinalizeUnits();
    return 0;
}
