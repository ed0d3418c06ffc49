// Test fixture with the program's three windows, created as the program creates them,
// and every message box answered and recorded.
#pragma once

#include "DialogRecorder.h"
#include "TestSupport.h"

#include "ChatUnit.h"
#include "Unit2.h"
#include "Unit3.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

class AppWindowsTest : public ::testing::Test {
protected:
    DialogRecorder dialogs;
    std::unique_ptr<TfmMain> main;
    std::unique_ptr<TfmData> data;
    std::unique_ptr<TfmChart> chart;
    std::string folder = testsupport::TempDir();

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

    // Copies an example into the test's folder and opens it through the File menu.
    std::string OpenExample(const std::string& name)
    {
        const std::string path = folder + "/" + name;
        std::filesystem::copy_file(std::string(EXAMPLES_DIR) + "/" + name, path,
                                   std::filesystem::copy_options::overwrite_existing);
        dialogs.Answer = [path](TDialogRequest& r) {
            if (r.Kind == TDialogKind::dkOpenFile)
                r.FileName = path;
            return mrOk;
        };
        main->Open1Click(main->Open1);
        dialogs.Answer = nullptr;
        dialogs.Requests.clear();
        return path;
    }
};
