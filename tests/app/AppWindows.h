// Test fixture with the program's three windows, created as the program creates them,
// and every message box answered and recorded.
#pragma once

#include "DialogRecorder.h"

#include "ChatUnit.h"
#include "Unit2.h"
#include "Unit3.h"

#include <gtest/gtest.h>

#include <memory>

class AppWindowsTest : public ::testing::Test {
protected:
    DialogRecorder dialogs;
    std::unique_ptr<TfmMain> main;
    std::unique_ptr<TfmData> data;
    std::unique_ptr<TfmChart> chart;

    void SetUp() override
    {
        main = std::make_unique<TfmMain>(nullptr);
        fmMain = main.get();
        data = std::make_unique<TfmData>(nullptr);
        fmData = data.get();
        chart = std::make_unique<TfmChart>(nullptr);
        fmChart = chart.get();
    }
    void TearDown() override
    {
        fmMain = nullptr;
        fmData = nullptr;
        fmChart = nullptr;
        chart.reset();
        data.reset();
        main.reset();
    }
};
