// A chart on a form with the chart texts and engine started, for the data grid, the
// series list box and the print preview; message boxes and dialogs are answered.
#pragma once

#include "ChartGrid.h"
#include "TeEngine.h"

#include "ChartStarted.h"
#include "DialogRecorder.h"
#include "TestSupport.h"

#include "controls/FormBuilder.h"
#include "graphics/TextMeasure.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace dataeditortest {

struct ChartOnForm : testsupport::ChartStartedTest {
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetName("DataForm");
        form->SetBounds(0, 0, 520, 360);
        chart = new TChart(form.get());
        chart->SetName("Chart1");
        chart->SetBounds(0, 0, 300, 200);
        chart->SetColor(clWhite);
    }
    void TearDown() override
    {
        form.reset();
    }
    // A series of the chart with Y values Ys at X = 0, 1, 2, ...
    TChartSeries* AddSeries(const std::vector<double>& Ys, const std::string& Name)
    {
        auto* s = new TChartSeries(form.get());
        s->SetName(Name);
        chart->AddSeries(s);
        for (size_t i = 0; i < Ys.size(); ++i)
            s->AddPointXY(static_cast<double>(i), Ys[i]);
        return s;
    }
    // A data grid on the form below a 30-pixel strip, as the data pages place it.
    TChartGrid* AddGrid()
    {
        auto* grid = new TChartGrid(form.get());
        grid->SetName("ChartGrid1");
        grid->SetParent(form.get());
        grid->SetBounds(0, 30, 500, 300);
        return grid;
    }
    DialogRecorder dialogs;
    std::unique_ptr<TForm> form;
    TChart* chart = nullptr;
};

} // namespace dataeditortest
