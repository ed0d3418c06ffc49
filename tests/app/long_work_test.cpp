// Long work as the user meets it: while a fit or a band computes, the windows stay live,
// the progress shows, RUN, Conf. intl., Open, N, the data window's run and EDIT are off, and
// Escape or Stop ends the work without changing what the last run left.
#include "AppWindows.h"
#include "Unit2/RunCore.h"

#include "TestSupport.h"
#include "UserInput.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

class LongWorkTest : public AppWindowsTest {
protected:
    // Every 20 ms while the work runs: Check sees the windows, and once Ready says so, Act
    // is done once.
    void WhileWorking(std::function<bool()> Ready, std::function<void()> Act)
    {
        watch = std::make_unique<QTimer>();
        watch->setInterval(20);
        QObject::connect(watch.get(), &QTimer::timeout, [this, Ready, Act] {
            SeenRunning = SeenRunning || (!main->sbrun->Enabled() && !main->SpeedButton1->Enabled() &&
                                          !main->Open1->Enabled() && !main->edN->Enabled() &&
                                          !data->sbrun->Enabled() &&
                                          !chart->SpeedButton1->Enabled() && main->sbStop->Enabled());
            if (!acted && Ready()) {
                acted = true;
                Progress = main->lbProgress->Caption();
                Act();
            }
        });
        watch->start();
    }
    void ExpectIdle()
    {
        EXPECT_TRUE(main->sbrun->Enabled());
        EXPECT_TRUE(main->SpeedButton1->Enabled());
        EXPECT_TRUE(main->Open1->Enabled());
        EXPECT_TRUE(main->edN->Enabled());
        EXPECT_TRUE(data->sbrun->Enabled());
        EXPECT_TRUE(chart->SpeedButton1->Enabled());
        EXPECT_FALSE(main->sbStop->Enabled());
        EXPECT_EQ(main->lbProgress->Caption(), "");
    }
    std::vector<std::string> GridTexts() const
    {
        std::vector<std::string> texts;
        for (int row = 1; row <= 20; ++row)
            for (int col = 1; col <= 3; ++col)
                texts.push_back(main->sgIniGuess->Cells(col, row));
        return texts;
    }
    std::unique_ptr<QTimer> watch;
    bool acted = false;
    bool SeenRunning = false;
    std::string Progress;
};

TEST_F(LongWorkTest, EscapeStopsAFitThatWouldNotEndAndLeavesTheWindowsAsTheyWere)
{
    const std::string path = OpenExample("copper.dat");
    main->sbrunClick(main->sbrun);   // a fit that ends, to have something to keep
    ASSERT_EQ(chart->Series1->Count(), 60);
    const double firstY = chart->Series1->YValues()->Value(0);
    chart->Hide();

    // Ten terms from all ones does not converge for minutes; the Nelder-Mead routine, with
    // its progress lines asked for, prints them from its start on.
    main->edN->SetText("10");
    for (int row = 1; row <= 20; ++row)
        main->sgIniGuess->SetCells(1, row, "1");
    main->cbSave->SetChecked(true);
    const std::vector<std::string> grid = GridTexts();
    for (const int routine : {RoutineLevMarq, RoutineNelderMead}) {
        SCOPED_TRACE(routine);
        main->cbRoutine->SetItemIndex(routine);
        main->chbTest->SetChecked(routine == RoutineNelderMead);
        acted = false;
        SeenRunning = false;
        WhileWorking(
            [this] {
                const std::string caption = main->lbProgress->Caption();
                return caption.rfind("Iteration ", 0) == 0 && std::stoi(caption.substr(10)) >= 3;
            },
            [this] {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(main->Widget(), &press);
            });
        main->sbrunClick(main->sbrun);

        EXPECT_TRUE(acted);
        EXPECT_TRUE(SeenRunning);
        EXPECT_NE(Progress.find("sum of squares"), std::string::npos) << Progress;
        ASSERT_EQ(main->Memo1->Lines()->Count(), 2) << main->Memo1->Lines()->Get(0);
        EXPECT_EQ(main->Memo1->Lines()->Get(0), "Solution not found");
        EXPECT_EQ(main->Memo1->Lines()->Get(1).rfind("Stopped by the user after ", 0), 0u)
            << main->Memo1->Lines()->Get(1);
        EXPECT_EQ(GridTexts(), grid);
        EXPECT_EQ(chart->Series1->Count(), 60);
        EXPECT_EQ(chart->Series1->YValues()->Value(0), firstY);
        EXPECT_FALSE(chart->Visible());
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path).replace_extension(".TBL")));
        EXPECT_TRUE(dialogs.Requests.empty());
    }
    ExpectIdle();
}

TEST_F(LongWorkTest, StopEndsABandWhichDrawsNothing)
{
    OpenExample("copper.dat");
    main->sbrunClick(main->sbrun);
    chart->Hide();
    WhileWorking([this] { return main->lbProgress->Caption().rfind("Band: ", 0) == 0; }, [this] {
        // The button as the toolkit clicks it: nothing happens while it is disabled.
        auto* button = qobject_cast<QAbstractButton*>(main->sbStop->Widget());
        ASSERT_NE(button, nullptr);
        button->click();
    });
    main->SpeedButton1Click(main->SpeedButton1);

    EXPECT_TRUE(acted);
    EXPECT_TRUE(SeenRunning);
    EXPECT_EQ(Progress.rfind("Band: ", 0), 0u) << Progress;
    EXPECT_NE(Progress.find(" of 60 points"), std::string::npos) << Progress;
    EXPECT_EQ(chart->Chart1->SeriesCount(), 3);
    EXPECT_FALSE(chart->Visible());
    ExpectIdle();
}

// Escape closes a list or a message box opened while the work runs, and gives up a guess
// being typed, as it always does; only the next Escape, with nothing open, stops the work.
TEST_F(LongWorkTest, EscapeClosesAnOpenListBoxOrEditFirstAndThenStopsTheWork)
{
    OpenExample("copper.dat");
    main->edN->SetText("10");
    for (int row = 1; row <= 20; ++row)
        main->sgIniGuess->SetCells(1, row, "1");
    user::ShowAndActivate(main.get());
    auto* list = qobject_cast<QComboBox*>(main->cbX->Widget());
    ASSERT_NE(list, nullptr);
    QDialog box(main->Widget());
    box.setModal(true);
    bool opened[3] = {false, false, false};
    bool closed[3] = {false, false, false};
    bool stillWorking = false;
    WhileWorking(
        [this] {
            const std::string caption = main->lbProgress->Caption();
            return caption.rfind("Iteration ", 0) == 0 && std::stoi(caption.substr(10)) >= 3;
        },
        [&] {
            user::Click(list);
            opened[0] = QApplication::activePopupWidget() != nullptr;
            user::Key(Qt::Key_Escape);
            closed[0] = QApplication::activePopupWidget() == nullptr;

            box.show();
            box.activateWindow();
            QApplication::setActiveWindow(&box);
            box.setFocus();
            opened[1] = QApplication::activeModalWidget() == &box;
            user::Key(Qt::Key_Escape);
            closed[1] = !box.isVisible();

            user::ShowAndActivate(main.get());
            user::ClickItem(main->sgIniGuess, 3, 1);
            user::Type("7");
            opened[2] = main->sgIniGuess->Cells(1, 3) == "7";
            user::Key(Qt::Key_Escape);
            closed[2] = main->sgIniGuess->Cells(1, 3) == "1";

            stillWorking = main->sbStop->Enabled();
            user::Key(list, Qt::Key_Escape);
        });
    ASSERT_TRUE(user::Click(main->sbrun));

    EXPECT_TRUE(acted);
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(opened[k]) << k;
        EXPECT_TRUE(closed[k]) << k;
    }
    EXPECT_TRUE(stillWorking);
    EXPECT_EQ(main->cbX->ItemIndex(), 0);
    ASSERT_EQ(main->Memo1->Lines()->Count(), 2);
    EXPECT_EQ(main->Memo1->Lines()->Get(1).rfind("Stopped by the user after ", 0), 0u);
    ExpectIdle();
}

} // namespace
