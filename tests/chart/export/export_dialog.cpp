// The export dialog driven through the platform's controls: pages, formats, the size
// with its aspect ratio, Copy, Save (the format following the name and the filter), the
// native page, and Send through a stand-in mail command.
#include "export_fixture.h"

#include "DialogRecorder.h"
#include "ExportDialog.h"
#include "UserInput.h"
#include "layout_check.h"
#include "controls/FormBuilder.h"
#include "controls/FormStyles.h"
#include "controls/Registry.h"

#include <QClipboard>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

using namespace exporttest;

namespace {

struct ExportDialogTest : ExportChart {
    void SetUp() override
    {
        ExportChart::SetUp();
        form = std::make_unique<TTeeExportForm>(nullptr);
        form->Panel = chart;
        form->Show();
    }
    void TearDown() override
    {
        form.reset();
        MailCommand = "xdg-email";
        ExportChart::TearDown();
    }
    // Answers the next save dialog with a file of the temporary folder and a filter entry.
    std::string AnswerSave(const std::string& Name, int FilterIndex = 0)
    {
        const std::string file = Temp(Name);
        recorder.Answer = [file, FilterIndex](TDialogRequest& r) {
            if (r.Kind == TDialogKind::dkSaveFile) {
                r.FileName = file;
                if (FilterIndex > 0)
                    r.FilterIndex = FilterIndex;
            }
            return int(mrOk);
        };
        return file;
    }
    void SavePicture(const std::string& Name)
    {
        if (const std::string path = testsupport::ArtifactPath(Name); !path.empty())
            SaveControlPicture(form.get(), path);
    }
    DialogRecorder recorder;
    std::unique_ptr<TTeeExportForm> form;
};

// Notes the screen cursor while the data exporter is made and the chart file written.
class TCursorProbeForm : public TTeeExportForm {
public:
    using TTeeExportForm::TTeeExportForm;
    std::unique_ptr<TSeriesData> CreateDataExporter() override
    {
        Seen.push_back(ScreenCursor());
        return TTeeExportForm::CreateDataExporter();
    }
    void SaveNativeToFile(const std::string& FileName, bool IncludeData) override
    {
        Seen.push_back(ScreenCursor());
        TTeeExportForm::SaveNativeToFile(FileName, IncludeData);
    }
    std::vector<TCursor> Seen;
};

TEST_F(ExportDialogTest, CopyAndSaveShowTheHourGlassWhileTheyWork)
{
    TCursorProbeForm probe(nullptr);
    probe.Panel = chart;
    user::ShowAndActivate(&probe);
    struct Case {
        const char* Tab;
        TButton* TCursorProbeForm::*Button;
        const char* File;
    };
    const Case cases[] = {
        {"Data", &TCursorProbeForm::BCopy, ""},
        {"Data", &TCursorProbeForm::BSave, "data.txt"},
        {"Native", &TCursorProbeForm::BSave, "chart.tee"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Tab) + " " + c.File);
        ASSERT_TRUE(user::ClickTab(probe.PageControl1, c.Tab));
        const std::string file = *c.File != 0 ? AnswerSave(c.File) : "";
        probe.Seen.clear();
        ASSERT_TRUE(user::Click(probe.*c.Button));
        EXPECT_EQ(probe.Seen, std::vector<TCursor>{crHourGlass});
        EXPECT_EQ(ScreenCursor(), crDefault);
        if (!file.empty()) {
            EXPECT_TRUE(std::filesystem::exists(file));
        }
    }
}

TEST_F(ExportDialogTest, PicturePageSizesCopiesAndSaves)
{
    ASSERT_EQ(form->LBFormat->Items()->Count(), 2);
    EXPECT_EQ(form->LBFormat->Items()->Strings(0), "as Metafile");
    EXPECT_EQ(form->LBFormat->Items()->Strings(1), "as Bitmap");
    EXPECT_EQ(form->EWidth->Text(), "400");
    EXPECT_EQ(form->EHeight->Text(), "300");
    // The aspect ratio is kept, without the height feeding back.
    form->EWidth->SetText("200");
    EXPECT_EQ(form->EHeight->Text(), "150");
    EXPECT_EQ(form->EWidth->Text(), "200");
    // A typed height sets the width by the same ratio.
    form->EHeight->SetText("60");
    EXPECT_EQ(form->EWidth->Text(), "80");
    EXPECT_EQ(form->EHeight->Text(), "60");
    form->EWidth->SetText("200");
    EXPECT_TRUE(form->BCopy->Enabled());
    SavePicture("export-dialog-picture.png");

    form->LBFormat->SetItemIndex(1);
    form->LBFormat->Click();
    EXPECT_EQ(form->PageOptions->ActivePage(), form->TabOptions);
    form->BCopy->Click();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(200, 150));

    // With the metafile chosen, a name ending in .bmp saves a bitmap.
    form->LBFormat->SetItemIndex(0);
    form->LBFormat->Click();
    const std::string bmp = AnswerSave("x.bmp");
    form->BSave->Click();
    EXPECT_EQ(QImage(QString::fromStdString(bmp), "BMP").size(), QSize(200, 150));
    // A name without a format's extension follows the chosen filter: plain metafiles.
    const std::string wmf = AnswerSave("picture", 2);
    form->BSave->Click();
    const std::vector<uint8_t> bytes = ReadBytes(wmf);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xD7);
    EXPECT_EQ(bytes[3], 0x9A);
}

TEST_F(ExportDialogTest, AFormatChosenByKeysShowsItsOwnOptions)
{
    user::ShowAndActivate(form.get());
    ASSERT_TRUE(user::Focus(form->LBFormat));
    ASSERT_TRUE(user::Key(Qt::Key_Down));
    EXPECT_EQ(form->LBFormat->ItemIndex(), 1);
    EXPECT_NE(user::Find("CBColors", form.get()), nullptr);
    EXPECT_EQ(user::Find("CBEnhanced", form.get()), nullptr);
    ASSERT_TRUE(user::Key(Qt::Key_Home));
    EXPECT_NE(user::Find("CBEnhanced", form.get()), nullptr);
    EXPECT_EQ(user::Find("CBColors", form.get()), nullptr);
}

// The dialog opens at its own client size, 378 x 239, taller only by what its pages need,
// and every page shows whole there (the picture page with each format's options and with
// the size, the native and the data page): no control covers another and no caption is cut.
TEST_F(ExportDialogTest, EveryPageShowsWholeAtTheSizeTheDialogOpensAt)
{
    user::ShowAndActivate(form.get());
    int needWidth = 0, needHeight = 0;
    ASSERT_TRUE(ContentsMinimumSize(form.get(), needWidth, needHeight));
    EXPECT_LE(needWidth, 378);
    EXPECT_EQ(form->Width(), 378);
    EXPECT_EQ(form->Height(), std::max(239, needHeight));
    std::vector<std::string> faults;
    const auto check = [&](const std::string& Where) {
        for (std::string& fault : layoutcheck::LayoutFaults(form.get(), Where))
            faults.push_back(std::move(fault));
        SavePicture("export-dialog-layout-" + Where + ".png");
    };
    for (int i = 0; i < form->LBFormat->Items()->Count(); ++i) {
        ASSERT_TRUE(user::ClickItem(form->LBFormat, i));
        ASSERT_EQ(form->PageOptions->ActivePage(), form->TabOptions);
        check("picture-" + std::to_string(i));
    }
    ASSERT_TRUE(user::ClickTab(form->PageOptions, "Size"));
    check("picture-size");
    ASSERT_TRUE(user::ClickTab(form->PageControl1, "Native"));
    ASSERT_TRUE(user::Click(form->CBFileSize, QPoint(8, form->CBFileSize->Height() / 2)));
    ASSERT_TRUE(form->CBFileSize->Checked());
    check("native");
    ASSERT_TRUE(user::ClickTab(form->PageControl1, "Data"));
    check("data");
    // The data page's captions take the focus to their fields by their accelerators.
    const std::pair<int, TControl*> accelerators[] = {
        {Qt::Key_R, form->CBSeries}, {Qt::Key_D, form->CBDelim}, {Qt::Key_Q, form->EQuotes}};
    for (const auto& [key, field] : accelerators) {
        ASSERT_TRUE(user::Key(key, Qt::AltModifier));
        EXPECT_TRUE(field->Focused()) << field->Name();
    }
    EXPECT_EQ(form->Width(), 378) << "the window kept its width";
    EXPECT_EQ(form->Height(), std::max(239, needHeight)) << "the window kept its height";
    EXPECT_THAT(faults, ::testing::IsEmpty());
    // The series combo stays 14 pixels narrower than its panel as the window is resized
    // (the editor's Export tab resizes it so); its list drops down at least 250 wide.
    for (const int width : {523, 378, 401}) {
        form->SetBounds(form->Left(), form->Top(), width, form->Height());
        EXPECT_EQ(form->CBSeries->Width(), form->Panel5->Width() - 14) << width;
        EXPECT_GT(form->Panel5->Width(), width / 2) << width;
    }
    EXPECT_EQ(qobject_cast<QComboBox*>(user::W(form->CBSeries))->view()->minimumWidth(), 250);
}

TEST_F(ExportDialogTest, ASizeTypedBeyondTheLimitCouplesFromTheLimitThatIsExported)
{
    user::ShowAndActivate(form.get());
    ASSERT_TRUE(user::ClickTab(form->PageOptions, "Size"));
    ASSERT_TRUE(user::Focus(form->EWidth));
    user::Key(Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(user::Type("5000"));
    // 3000 wide at 400:300 is 2250 high, not the 3750 of the typed width cut to 3000.
    EXPECT_EQ(form->UDWidth->Position(), 3000);
    EXPECT_EQ(form->EHeight->Text(), "2250");
    user::Key(Qt::Key_Tab);
    EXPECT_EQ(form->EWidth->Text(), "3000");
    EXPECT_EQ(form->EHeight->Text(), "2250");
}

TEST_F(ExportDialogTest, DataPageSavesWithTheChosenFilter)
{
    form->PageControl1->SelectPage(form->TabData);
    EXPECT_EQ(form->CBSeries->Items()->Strings(0), "(all)");
    EXPECT_EQ(form->CBSeries->Items()->Count(), 3);
    form->RGText->SetItemIndex(3);
    form->RGText->Click();
    EXPECT_FALSE(form->BCopy->Enabled());
    EXPECT_TRUE(form->BSave->Enabled());
    EXPECT_FALSE(form->CBDelim->Enabled());
    SavePicture("export-dialog-data.png");

    // "Colon delimited" chosen in the save dialog: text with semicolons.
    const std::string file = AnswerSave("d.txt", 4);
    form->BSave->Click();
    EXPECT_EQ(form->RGText->ItemIndex(), 0);
    EXPECT_EQ(form->CBDelim->ItemIndex(), 3);
    const std::string text = ReadText(file);
    EXPECT_EQ(text.substr(0, text.find('\r')), "Text;Series1;Series2");
}

TEST_F(ExportDialogTest, DataSavedWithoutExtensionTakesTheChosenFiltersOne)
{
    // In the real save dialog: "Comma delimited" (one below "Tab", shown first) and a
    // name without extension.
    const std::string base = Temp("table");
    user::ModalActions modal(recorder);
    modal.ThenInDialog([&](QWidget* d) {
        auto* types = d->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        ASSERT_TRUE(user::Key(types, Qt::Key_Down));
        ASSERT_TRUE(user::Type(d->findChild<QLineEdit*>("fileNameEdit"), base));
        ASSERT_TRUE(user::Key(Qt::Key_Return));
    });
    user::ShowAndActivate(form.get());
    ASSERT_TRUE(user::ClickTab(form->PageControl1, "Data"));
    ASSERT_TRUE(user::Click(form->BSave));
    EXPECT_EQ(form->CBDelim->ItemIndex(), 2);
    const std::string text = ReadText(base + ".csv");
    EXPECT_EQ(text.substr(0, text.find('\r')), "Text,Series1,Series2");
}

TEST_F(ExportDialogTest, DataFilterIndexFollowsTheFormatAndDelimiter)
{
    form->PageControl1->SelectPage(form->TabData);
    // The index the save dialog opens on; cancelled, so that nothing changes.
    auto offered = [&] {
        recorder.Requests.clear();
        recorder.Answer = nullptr;
        form->BSave->Click();
        return recorder.Requests.empty() ? -1 : recorder.Requests.back().FilterIndex;
    };
    for (int d = 0; d < 5; ++d) {
        form->CBDelim->SetItemIndex(d);
        EXPECT_EQ(offered(), d + 1) << d;
    }
    for (int f = 1; f <= 3; ++f) {
        form->RGText->SetItemIndex(f);
        form->RGText->Click();
        EXPECT_EQ(offered(), f + 5) << f;
    }
    // The entry chosen in the save dialog sets the format the other way round.
    form->RGText->SetItemIndex(0);
    const std::vector<std::pair<int, std::string>> chosen = {{6, "<?xml"}, {7, "<table"}, {5, "Text"}};
    for (const auto& [index, start] : chosen) {
        const std::string file = AnswerSave("chosen" + std::to_string(index), index);
        form->BSave->Click();
        EXPECT_EQ(form->RGText->ItemIndex(), index > 5 ? index - 5 : 0) << index;
        EXPECT_EQ(ReadText(file).substr(0, start.size()), start) << index;
    }
}

TEST_F(ExportDialogTest, TheDataPageOffersTheRegisteredFormatsInRegistrationOrder)
{
    // A format registered after the built-in ones comes last, on the page and in the filter,
    // and is the one a save through its entry writes.
    auto probe = [](TCustomAxisPanel* Chart, TChartSeries* Series,
                    const TDataExportChoices&) -> std::unique_ptr<TSeriesData> {
        return std::make_unique<TSeriesDataXML>(Chart, Series);
    };
    RegisterDataExportFormat({"Probe", "Probe files (*.prb)|*.prb", probe, false, true});
    form = std::make_unique<TTeeExportForm>(nullptr);
    form->Panel = chart;
    form->Show();
    struct Row {
        std::string Caption, Filter;
        int FirstIndex;
        bool Copies;
    };
    const std::vector<Row> rows = {
        {"Text",
         "Space delimited text files (*.txt)|*.txt|Tab delimited text files (*.txt)|*.txt|"
         "Comma delimited text files (*.csv)|*.csv|Colon delimited text files (*.txt)|*.txt|"
         "Custom delimited text files (*.txt)|*.txt",
         2, true},   // "Tab" is chosen on show
        {"XML", "XML files (*.xml)|*.xml", 6, true},
        {"HTML Table", "HTML files (*.htm)|*.htm", 7, true},
        {"Excel", "Microsoft Excel files (*.xls)|*.xls", 8, false},
        {"Probe", "Probe files (*.prb)|*.prb", 9, true},
    };
    form->PageControl1->SelectPage(form->TabData);
    ASSERT_EQ(form->RGText->Items()->Count(), int(rows.size()));
    std::string filter;
    for (size_t i = 0; i < rows.size(); ++i) {
        filter += (i ? "|" : "") + rows[i].Filter;
        EXPECT_EQ(form->RGText->Items()->Strings(int(i)), rows[i].Caption) << i;
        form->RGText->SetItemIndex(int(i));
        form->RGText->Click();
        EXPECT_EQ(form->DataFilterIndex(), rows[i].FirstIndex) << i;
        EXPECT_EQ(form->BCopy->Enabled(), rows[i].Copies) << i;
        EXPECT_EQ(form->CBDelim->Enabled(), i == 0) << i;
    }
    form->RGText->SetItemIndex(0);
    const std::string file = AnswerSave("probe.prb", 9);
    form->BSave->Click();
    UnregisterDataExportFormat(probe);
    ASSERT_FALSE(recorder.Requests.empty());
    EXPECT_EQ(recorder.Requests.back().Filter, filter);
    EXPECT_EQ(form->RGText->ItemIndex(), 4);
    EXPECT_EQ(ReadText(file).substr(0, 5), "<?xml");
}

TEST_F(ExportDialogTest, ASeriesDeletedWhileTheDialogIsOpenLeavesTheSeriesList)
{
    form->PageControl1->SelectPage(form->TabData);
    ASSERT_EQ(form->CBSeries->Items()->Count(), 3);
    form->CBSeries->SetItemIndex(2);   // the point series
    delete points;
    points = nullptr;
    ASSERT_EQ(form->CBSeries->Items()->Count(), 2);
    EXPECT_EQ(form->CBSeries->Items()->Strings(1), "Series1");
    EXPECT_EQ(form->CBSeries->ItemIndex(), 0);
    // Copying now exports what is left, the line series.
    form->BCopy->Click();
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    EXPECT_EQ(text.substr(0, text.find('\r')), "Text\tSeries1");
}

TEST_F(ExportDialogTest, ACustomDelimiterIsItsWholeCharacter)
{
    user::ShowAndActivate(form.get());
    ASSERT_TRUE(user::ClickTab(form->PageControl1, "Data"));
    // Choosing "Custom" from the keyboard puts the keys in its edit, which keeps one
    // character, the section sign (two bytes); the quotes keep one character too.
    ASSERT_TRUE(user::Key(form->CBDelim, Qt::Key_End));
    ASSERT_EQ(form->CBDelim->ItemIndex(), 4);
    ASSERT_TRUE(user::Type("\xC2\xA7x"));
    EXPECT_EQ(form->ECustom->Text(), "\xC2\xA7");
    ASSERT_TRUE(user::Type(form->EQuotes, "''"));
    EXPECT_EQ(form->EQuotes->Text(), "'");
    form->CBSeries->SetItemIndex(1);        // the line series
    const std::string file = AnswerSave("custom.txt");
    form->BSave->Click();
    const std::string text = ReadText(file);
    EXPECT_EQ(text.substr(0, text.find('\r')), "'Text'\xC2\xA7'Series1'");
    EXPECT_TRUE(QString::fromUtf8(text.data(), qsizetype(text.size())).toUtf8().toStdString() == text);
    form->ECustom->SetText("");
    EXPECT_EQ(form->Delimiter(), " ");
}

TEST_F(ExportDialogTest, NativePageCopiesTextOnlyAndTellsTheSize)
{
    form->PageControl1->SelectPage(form->TabNative);
    EXPECT_FALSE(form->BCopy->Enabled());
    EXPECT_TRUE(form->BSave->Enabled());
    form->CBFileSize->SetChecked(true);
    form->CBFileSize->Click();
    TMemoryStream stream;
    WriteChartToStream(chart, &stream, true, false);
    EXPECT_EQ(form->LabelSize->Caption(), std::to_string(stream.Size()) + " bytes");
    // The size stands beside its check box's caption, not across the page.
    user::ShowAndActivate(form.get());
    EXPECT_LT(form->LabelSize->Left(), form->TabNative->Width() / 3);
    SavePicture("export-dialog-native.png");
    form->CBNativeFormat->SetItemIndex(1);
    form->CBNativeFormat->OnChange(form->CBNativeFormat);
    EXPECT_TRUE(form->BCopy->Enabled());
    form->BCopy->Click();
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(text.startsWith("object ")) << text.left(40).toStdString();
    EXPECT_TRUE(text.contains("Series2"));
}

TEST_F(ExportDialogTest, SendHandsTheFileToTheMailCommand)
{
    // A stand-in mail command that keeps its arguments and whether the file was there.
    const std::string dir = testsupport::TempDir();
    const std::string log = dir + "/args", script = dir + "/mail";
    std::ofstream(script) << "#!/bin/sh\necho \"$@\" > " << log << "\n[ -f \"$4\" ] && echo present >> " << log
                          << "\nexit ${MAIL_EXIT:-0}\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    MailCommand = script;
    form->PageControl1->SelectPage(form->TabData);
    ASSERT_TRUE(form->BSend->Enabled());
    form->BSend->Click();
    const std::string args = ReadText(log);
    ASSERT_EQ(args.rfind("--subject RurEvido --attach ", 0), 0u) << args;
    const std::string sent = args.substr(28, args.find('\n') - 28);
    EXPECT_EQ(std::filesystem::path(sent).filename(), "RurEvido.txt");
    EXPECT_NE(args.find("present"), std::string::npos);
    // Taken by the mail program, the file and its private folder are gone.
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(sent).parent_path()));

    setenv("MAIL_EXIT", "3", 1);
    try {
        form->BSendClick(form->BSend);
        ADD_FAILURE() << "no failure reported";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Can not email RurEvido. Mapi Error: 3");
    }
    unsetenv("MAIL_EXIT");
}

} // namespace

TEST(ExportHelpFolder, AnswersTheStoredFolderOrNothing)
{
    SetRegistryFileName(testsupport::TempDir() + "/registry.ini");
    EXPECT_EQ(GetWindowsHelpFolder("chart.hlp"), "");
    TRegistry r;
    r.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(r.OpenKey("SOFTWARE\\Microsoft\\Windows\\Help", true));
    r.WriteString("other.hlp", "C:\\Help");
    // A missing value is no folder: not "\" and the name.
    EXPECT_EQ(GetWindowsHelpFolder("chart.hlp"), "");
    r.WriteString("chart.hlp", "C:\\Help");
    EXPECT_EQ(GetWindowsHelpFolder("chart.hlp"), "C:\\Help\\chart.hlp");
    SetRegistryFileName("");
}
