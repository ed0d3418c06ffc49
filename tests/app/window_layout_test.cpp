// The program's three windows as the user sees them: at their default size and larger,
// no two visible controls of one parent cover each other and every caption fits; the
// report view, the grid of unknowns, the data text and the chart take the room a larger
// window gives; Tab visits the controls in their order.
#include "AppWindows.h"

#include "TestSupport.h"
#include "layout_check.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class WindowLayoutTest : public AppWindowsTest {
protected:
    static void ShowAt(TForm* Form, int Width, int Height)
    {
        Form->Show();
        Form->Widget()->resize(Width, Height);
        QApplication::processEvents();
    }
    static void ExpectNoFaults(TForm* Form, const std::string& Where)
    {
        EXPECT_THAT(layoutcheck::LayoutFaults(Form, Where), ::testing::IsEmpty());
    }
    static void SavePicture(TForm* Form, const std::string& Name)
    {
        if (const std::string path = testsupport::ArtifactPath(Name); !path.empty())
            Form->Widget()->grab().save(QString::fromStdString(path));
    }
    // The names of the controls that Tab visits, from the window's first one on.
    static std::vector<std::string> TabChain(TForm* Form)
    {
        QWidget* window = Form->Widget();
        std::vector<std::string> names;
        for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
            const std::string name = w->objectName().toStdString();
            if ((w->focusPolicy() & Qt::TabFocus) != 0 && !name.empty() && name.rfind("qt_", 0) != 0 &&
                w->isVisibleTo(window))
                names.push_back(name);
        }
        return names;
    }
};

TEST_F(WindowLayoutTest, MainWindowFitsAndGivesTheRoomToTheGridAndTheReport)
{
    ShowAt(main.get(), 1029, 744);
    EXPECT_EQ(main->Width(), 1029);
    EXPECT_EQ(main->Height(), 744);
    ExpectNoFaults(main.get(), "main window");
    // The problem details on the left, the report view on the right.
    EXPECT_LT(main->GroupBox3->Left() + main->GroupBox3->Width(), main->GroupBox2->Left());
    EXPECT_GT(main->GroupBox2->Width(), main->GroupBox3->Width());
    // While a fit runs the progress shows its longest text, which must fit and cover nothing.
    main->sbStop->SetEnabled(true);
    main->lbProgress->SetCaption("Iteration 10000, sum of squares -1.234e+003");
    QApplication::processEvents();
    ExpectNoFaults(main.get(), "main window with progress");
    SavePicture(main.get(), "main_window_layout.png");

    const int reportWidth = main->Memo1->Width();
    const int reportHeight = main->Memo1->Height();
    const int gridWidth = main->sgIniGuess->Width();
    const int gridHeight = main->sgIniGuess->Height();
    const int infoHeight = main->Memo2->Height();
    ShowAt(main.get(), 1029 + 230, 744 + 170);
    ExpectNoFaults(main.get(), "main window enlarged");
    EXPECT_EQ(main->Memo1->Width(), reportWidth + 230);
    EXPECT_EQ(main->Memo1->Height(), reportHeight + 170);
    EXPECT_EQ(main->sgIniGuess->Width(), gridWidth);
    EXPECT_EQ(main->sgIniGuess->Height(), gridHeight + 170);
    EXPECT_EQ(main->Memo2->Height(), infoHeight);
    SavePicture(main.get(), "main_window_enlarged.png");
}

TEST_F(WindowLayoutTest, ANarrowMainWindowScrollsTheReportTableInsteadOfBreakingItsLines)
{
    const std::string row = "   46.31     4.138     4.129     0.00900";
    main->Memo1->Lines()->Add("    T      Cp(exp)   Cp(calc)     delta ");
    main->Memo1->Lines()->Add(row);
    ShowAt(main.get(), 640, 744);
    auto* report = static_cast<QPlainTextEdit*>(main->Memo1->Widget());
    const QTextBlock block = report->document()->findBlockByNumber(1);
    ASSERT_EQ(block.text().toStdString(), row);
    ASSERT_LT(report->viewport()->width(), report->fontMetrics().horizontalAdvance(block.text()));
    EXPECT_EQ(block.layout()->lineCount(), 1);
    EXPECT_TRUE(report->horizontalScrollBar()->isVisible());
    EXPECT_GT(report->horizontalScrollBar()->maximum(), 0);
}

TEST_F(WindowLayoutTest, DataWindowFitsAndGivesTheRoomToTheText)
{
    ShowAt(data.get(), 819, 480);
    EXPECT_EQ(data->Width(), 819);
    EXPECT_EQ(data->Height(), 480);
    ExpectNoFaults(data.get(), "data window");
    // The tool row above the text, the close button at the right end.
    EXPECT_LT(data->sbrun->Top() + data->sbrun->Height(), data->Memo1->Top());
    EXPECT_GT(data->BitBtn1->Left(), data->edTmax->Left() + data->edTmax->Width());
    EXPECT_GE(data->Memo1->Width(), 819 - 20);
    SavePicture(data.get(), "data_window_layout.png");

    const int width = data->Memo1->Width();
    const int height = data->Memo1->Height();
    const int closeLeft = data->BitBtn1->Left();
    ShowAt(data.get(), 819 + 150, 480 + 110);
    ExpectNoFaults(data.get(), "data window enlarged");
    EXPECT_EQ(data->Memo1->Width(), width + 150);
    EXPECT_EQ(data->Memo1->Height(), height + 110);
    EXPECT_EQ(data->BitBtn1->Left(), closeLeft + 150);
}

TEST_F(WindowLayoutTest, ChartWindowFitsAndGivesTheRoomToTheChart)
{
    ShowAt(chart.get(), 696, 480);
    EXPECT_EQ(chart->Width(), 696);
    EXPECT_EQ(chart->Height(), 480);
    ExpectNoFaults(chart.get(), "chart window");
    // "Undo Zoom" shows after a zoom, beside the other buttons, in the room kept for it:
    // EDIT does not move away from under the mouse.
    const int editLeft = chart->SpeedButton1->Left();
    chart->Chart1Zoom(chart->Chart1);
    QApplication::processEvents();
    ExpectNoFaults(chart.get(), "chart window after a zoom");
    EXPECT_EQ(chart->SpeedButton1->Left(), editLeft);
    EXPECT_GE(chart->sbUndoZoom->Left(), chart->BitBtn1->Left() + chart->BitBtn1->Width());
    EXPECT_LE(chart->sbUndoZoom->Left() + chart->sbUndoZoom->Width(), editLeft);
    EXPECT_LT(chart->Panel1->Top() + chart->Panel1->Height(), chart->Panel2->Top() + 1);
    EXPECT_GE(chart->Chart1->Width(), 696 - 20);
    SavePicture(chart.get(), "chart_window_layout.png");

    const int width = chart->Chart1->Width();
    const int height = chart->Chart1->Height();
    ShowAt(chart.get(), 696 + 140, 480 + 90);
    ExpectNoFaults(chart.get(), "chart window enlarged");
    EXPECT_EQ(chart->Chart1->Width(), width + 140);
    EXPECT_EQ(chart->Chart1->Height(), height + 90);
}

TEST_F(WindowLayoutTest, TabVisitsTheControlsInTheirOrder)
{
    main->Show();
    data->Show();
    chart->Show();
    chart->Chart1Zoom(chart->Chart1);
    QApplication::processEvents();
    EXPECT_EQ(TabChain(main.get()),
              (std::vector<std::string>{"edN", "chbPrev", "cbX", "cbY", "cbErrortype", "cbSave", "sbrun",
                                        "SpeedButton1", "BitBtn2", "sbStop", "Memo2", "sgIniGuess", "Memo1"}));
    EXPECT_EQ(TabChain(data.get()), (std::vector<std::string>{"sbrun", "cbDivString", "edTmax", "BitBtn1", "Memo1"}));
    // The chart window: Tab goes round the three buttons of the tool row; the chart, which
    // takes no keys, is no stop.
    EXPECT_EQ(TabChain(chart.get()), (std::vector<std::string>{"BitBtn1", "sbUndoZoom", "SpeedButton1"}));
}

} // namespace
