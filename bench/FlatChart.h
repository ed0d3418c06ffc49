// The chart that the drawing benchmarks redraw: flat, white, legend hidden, with one series
// in navy of N points y = Sample(i).
#pragma once

#include "Chart.h"
#include "Series.h"
#include "TeEngine.h"
#include "TeeConst.h"

#include <cmath>
#include <memory>

inline double Sample(int i) { return std::sin(i * 0.001) * 100 + i % 97; }

// The chart, Width x Height pixels, its series of type S owned by Form; starts the chart
// units once.
template <typename S> std::unique_ptr<TChart> FlatChart(TComponent& Form, int N, int Width, int Height)
{
    static const bool started = [] {
        TeeConstInitialization();
        TeEngineInitialization();
        return true;
    }();
    (void)started;
    auto chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, Width, Height);
    chart->SetColor(clWhite);
    chart->SetView3D(false);
    chart->Legend()->SetVisible(false);
    auto* s = new S(&Form);
    s->SetSeriesColor(clNavy);
    for (int i = 0; i < N; ++i)
        s->AddPointXY(i, Sample(i));
    chart->AddSeries(s);
    return chart;
}
