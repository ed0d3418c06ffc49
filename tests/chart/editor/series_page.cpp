// The series page and the function page, driven through their controls: the type's form
// embedded by class name (and replaced when the type changes), the general, marks and
// data-source tabs, and calculated functions chosen, fed and applied.
#include "editor_driver.h"

#include "ChartStarted.h"
#include "UserInput.h"

#include "ChartListBox.h"
#include "FormatEditor.h"
#include "PointerEditor.h"
#include "Series.h"
#include "TeEngine.h"
#include "TeeAxisIncr.h"
#include "TeeEdiSeri.h"
#include "Galleries.h"
#include "TeeFuncEdit.h"
#include "TeeFunci.h"

#include "graphics/Bitmap.h"

#include <memory>
#include <string>
#include <vector>

using namespace editortest;

namespace {

// A stand-in for a series type's option form: remembers the series in its Tag on show
// and, when told, asks the page for extra tabs as the larger type editors do.
class TTestTypeForm : public TForm {
public:
    DECLARE_CLASS_NAME(TTestTypeForm)
    static inline int ExtraPages = 0;
    static inline std::vector<TForm*> Added;
    explicit TTestTypeForm(TComponent* AOwner) : TForm(AOwner)
    {
        BuildForm(this, 200, 80, {Ctl(CBOption, "CBOption", "Option")});
        OnShow = [this](TObject*) {
            Series = reinterpret_cast<TChartSeries*>(Tag());
            if (auto* page = dynamic_cast<TFormTeeSeries*>(Owner()); page != nullptr && ExtraPages > 0)
                for (int i = 0; i < ExtraPages; ++i)
                    Added.push_back(AddEditorPage(page, "TTestExtraForm", 1 + i, Series, "Extra " + std::to_string(i)));
        };
    }
    TCheckBox* CBOption;
    TChartSeries* Series = nullptr;
};

class TTestExtraForm : public TForm {
public:
    DECLARE_CLASS_NAME(TTestExtraForm)
    explicit TTestExtraForm(TComponent* AOwner) : TForm(AOwner) { BuildForm(this, 100, 40, {}); }
};

// The two-list chooser as the gallery unit provides it.
class TTestSelectList : public TForm {
public:
    DECLARE_CLASS_NAME(TTestSelectList)
    explicit TTestSelectList(TComponent* AOwner) : TForm(AOwner)
    {
        BuildForm(this, 200, 100, {Line({List(FromList, "FromList"), List(ToList, "ToList")})});
    }
    // Moves the item of FromList to ToList and tells the page.
    void Choose(int Index)
    {
        ToList->Items()->AddObject(FromList->Items()->Get(Index), FromList->Items()->GetObject(Index));
        FromList->Items()->Delete(Index);
        if (OnChange)
            OnChange(this);
    }
    TListBox* FromList;
    TListBox* ToList;
    TNotifyEvent OnChange;
};

class SeriesPageTest : public testsupport::ChartStartedTest {
protected:
    void SetUp() override
    {
        RegisterSeriesUnitTypes();
        RegisterFormClass<TTestTypeForm>("TCustomSeriesEditor");
        RegisterFormClass<TTestTypeForm>("TBarSeriesEditor");
        RegisterFormClass<TTestExtraForm>("TTestExtraForm");
        TTestTypeForm::ExtraPages = 0;
        TTestTypeForm::Added.clear();
        owner = std::make_unique<TForm>(nullptr);
        owner->SetName("ChartForm");
        chart = new TChart(owner.get());
        chart->SetName("Chart1");
        chart->SetBounds(0, 0, 300, 200);
        page = new TFormTeeSeries(owner.get());
    }
    void TearDown() override
    {
        CreateSelectListFormHook = nullptr;
        ChangeTypeFromGalleryHook = nullptr;
        owner.reset();
        for (const char* name : {"TCustomSeriesEditor", "TBarSeriesEditor", "TTestExtraForm"})
            UnregisterFormClass(name);
    }
    template <class T>
    T* AddSeries(const std::string& Name, const std::vector<double>& Ys)
    {
        auto* s = new T(owner.get());
        s->SetName(Name);
        chart->AddSeries(s);
        for (size_t i = 0; i < Ys.size(); ++i)
            s->AddPointXY(double(i), Ys[i]);
        return s;
    }
    void Open(TChartSeries* Series)
    {
        page->FillSeries(chart);
        page->Show();
        page->SelectSeries(Series);
    }
    // The function page of the data-source tab, after choosing "Function".
    TTeeFuncEditor* OpenFunctionPage(TChartSeries* Series)
    {
        Open(Series);
        page->PageSeries->SelectPage(page->TabDataSource);
        page->CBDataSourcestyle->Pick(2);
        return dynamic_cast<TTeeFuncEditor*>(page->SourceEditor());
    }
    static int ItemOf(TComboBox* Combo, const std::string& Text) { return Combo->Items()->IndexOf(Text); }

    EditorDriver driver;
    std::unique_ptr<TForm> owner;
    TChart* chart = nullptr;
    TFormTeeSeries* page = nullptr;
};

std::vector<std::string> TabCaptions(TPageControl* Pages)
{
    std::vector<std::string> out;
    for (int i = 0; i < Pages->PageCount(); ++i)
        if (Pages->Pages(i)->TabVisible())
            out.push_back(Pages->Pages(i)->Caption());
    return out;
}

TEST_F(SeriesPageTest, TypeFormIsEmbeddedBoundedAndFollowsATypeChange)
{
    auto* bar = AddSeries<TBarSeries>("Bars", {3, 1, 2});
    AddSeries<TLineSeries>("Line", {1, 2});
    auto* list = new TChartListBox(owner.get());
    list->SetChart(chart);
    page->SetSeriesListBox(list);

    // The bar form asks for five extra tabs: only three fit beside it.
    TTestTypeForm::ExtraPages = 5;
    Open(bar);
    EXPECT_EQ(page->EmbeddedCount(), TFormTeeSeries::MaxEmbeddedForms);
    EXPECT_EQ(TabCaptions(page->PageSeries), (std::vector<std::string>{"Format", "Extra 0", "Extra 1", "Extra 2", "General",
                                                                      "Marks", "Data Source"}));
    ASSERT_EQ(TTestTypeForm::Added.size(), 5u);
    EXPECT_EQ(TTestTypeForm::Added[3], nullptr);
    EXPECT_EQ(static_cast<TTestTypeForm*>(page->EmbeddedForm(0))->Series, bar);
    EXPECT_EQ(page->LabelSeriesClass->Caption(), "Bar: Bars");
    EXPECT_EQ(list->SelectedSeries(), bar);

    // The gallery makes it a line series; the page follows the list's new series.
    TTestTypeForm::ExtraPages = 0;
    ChangeTypeFromGalleryHook = [](TComponent*, TChartSeries*& S) {
        ReplaceSeriesClass(S, TLineSeries::StaticClassInfo());
        return TLineSeries::StaticClassInfo();
    };
    list->ChangeSelectedSeriesType();
    EXPECT_EQ(page->TheSeries(), nullptr);   // the bar series went while shown
    EXPECT_EQ(page->EmbeddedCount(), 0);
    page->SelectSeries(list->SelectedSeries());
    auto* line = dynamic_cast<TLineSeries*>(page->TheSeries());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(page->EmbeddedCount(), 1);
    EXPECT_EQ(static_cast<TTestTypeForm*>(page->EmbeddedForm(0))->Series, line);
    EXPECT_EQ(TabCaptions(page->PageSeries), (std::vector<std::string>{"Format", "General", "Marks", "Data Source"}));
    EXPECT_EQ(page->LabelSeriesClass->Caption(), "Line: Bars");

    // A type whose form is not registered has no "Format" tab; deleting the shown
    // series empties the page.
    UnregisterFormClass("TCustomSeriesEditor");
    page->SelectSeries(chart->Series(1));
    EXPECT_EQ(TabCaptions(page->PageSeries).front(), "General");
    delete chart->Series(1);
    EXPECT_EQ(page->TheSeries(), nullptr);
    EXPECT_FALSE(page->PageSeries->Visible());
    EXPECT_EQ(page->CBSeries->Items()->Count(), 1);
}

// Run once more on a screen of twice the density: the type's picture beside the series
// list has the screen's density, so that it is shown without being enlarged.
TEST_F(SeriesPageTest, TypePictureTakesTheScreenDensity)
{
    Open(AddSeries<TLineSeries>("Line", {1, 3, 2}));
    auto* icon = dynamic_cast<TBitmap*>(page->ImageSeries->Picture()->Graphic());
    ASSERT_NE(icon, nullptr);
    const double ratio = page->ImageSeries->PixelRatio();
    EXPECT_EQ(icon->PixelRatio(), ratio);
    EXPECT_EQ(icon->Width(), 24);
    EXPECT_EQ(icon->PixelWidth(), int(24 * ratio));
}

TEST_F(SeriesPageTest, PointerEditorEmbedsOnlyIntoTheSeriesPage)
{
    auto* line = AddSeries<TLineSeries>("Line", {1, 3, 2});
    Open(line);
    TForm* typeForm = page->EmbeddedForm(0);
    ASSERT_NE(typeForm, nullptr);
    TSeriesPointer* pointer = line->Pointer();
    TSeriesPointerEditor* editor = EmbedPointerEditor(typeForm, pointer, "Point");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(TabCaptions(page->PageSeries).back(), "Point");
    page->PageSeries->SelectPage(page->PageSeries->Pages(page->PageSeries->PageCount() - 1));
    EXPECT_EQ(editor->ThePointer(), pointer);
    EXPECT_FALSE(editor->CBColorEach->Visible());
    editor->CBDrawPoint->SetChecked(!pointer->Visible());
    EXPECT_EQ(pointer->Visible(), editor->CBDrawPoint->Checked());
    // A form that the series page does not host gets nothing.
    TForm loose(nullptr);
    EXPECT_EQ(EmbedPointerEditor(&loose, line), nullptr);
}

TEST_F(SeriesPageTest, GeneralAndMarksTabsWriteTheSeries)
{
    auto* points = AddSeries<TPointSeries>("Points", {4, 2, 8});
    auto* other = AddSeries<TLineSeries>("Other", {1});
    chart->CustomAxes()->Add();
    chart->CustomAxes()->Add();
    auto* custom = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    custom->SetHorizontal(true);
    Open(points);
    // The real pointer editor is the point series' form.
    ASSERT_NE(dynamic_cast<TSeriesPointerEditor*>(page->EmbeddedForm(0)), nullptr);

    page->PageSeries->SelectPage(page->TabGeneral);
    EXPECT_EQ(page->CBHorizAxis->Items()->Get(3), "Custom 2");
    EXPECT_FALSE(page->CBZDateTime->Visible());   // no depth values
    page->CBHorizAxis->Pick(3);
    EXPECT_EQ(points->CustomHorizAxis(), custom);
    page->CBShowInLegend->SetChecked(false);
    EXPECT_FALSE(points->ShowInLegend());
    page->EDepth->SetText("40");
    EXPECT_EQ(points->Depth(), 40);
    page->CBDepth->SetChecked(true);
    EXPECT_EQ(points->Depth(), -1);
    page->CBSort->Pick(1);
    EXPECT_EQ(points->XValues()->Order(), loDescending);
    EXPECT_EQ(points->YValue(0), 8);
    page->CBFormat->Pick(ItemOf(page->CBFormat, "0.0"));
    EXPECT_EQ(points->ValueFormat(), "0.0");

    page->PageSeries->SelectPage(page->TabMarks);
    EXPECT_FALSE(page->CBMultiLine->Enabled());
    page->RGMarkStyle->SetItemIndex(smsLabelValue);
    EXPECT_EQ(points->Marks()->Style(), smsLabelValue);
    EXPECT_TRUE(page->CBMultiLine->Enabled());
    page->EMarksEvery->SetText("3");
    EXPECT_EQ(points->Marks()->DrawEvery(), 3);
    page->CBHead->Pick(2);
    EXPECT_EQ(points->Marks()->Callout()->ArrowHead(), ahSolid);
    page->CBAllVisible->SetChecked(true);
    EXPECT_TRUE(points->Marks()->Visible());
    EXPECT_TRUE(other->Marks()->Visible());
    EXPECT_TRUE(page->CBMarksVisible->Checked());
    page->SymbolVisible()->SetChecked(true);
    EXPECT_TRUE(points->Marks()->Symbol()->Visible());

    page->SetBounds(0, 0, 436, 420);
    page->PageSeries->SelectPage(page->TabGeneral);
    SavePicture(page, "series-page");
}

TEST_F(SeriesPageTest, RandomValuesAreCountedWithinTheUpDown)
{
    auto* line = AddSeries<TLineSeries>("Line", {});
    line->SetManualData(false);
    Open(line);
    page->PageSeries->SelectPage(page->TabDataSource);
    page->CBDataSourcestyle->Pick(1);
    EXPECT_TRUE(page->Panel4->Visible());
    EXPECT_EQ(page->ESamples->Text(), std::to_string(line->DefaultSampleCount()));
    page->ESamples->SetText("99999999");
    EXPECT_EQ(line->SampleCount(), TFormTeeSeries::MaxSampleValues);
    page->ESamples->SetText("-");
    EXPECT_EQ(line->SampleCount(), 0);
    EXPECT_TRUE(page->CBSamplesDefault->Checked());
    page->ESamples->SetText("30");
    EXPECT_TRUE(user::Click(page->BApplyRandom));
    EXPECT_EQ(line->Count(), 30);
    EXPECT_TRUE(user::Click(page->Button3));
    EXPECT_EQ(line->Count(), 0);
    EXPECT_EQ(page->CBDataSourcestyle->ItemIndex(), 0);
    EXPECT_TRUE(page->ChartGrid1->Visible());
}

TEST_F(SeriesPageTest, ManualOrRandomLetsTheFunctionGoAndKeepsThePoints)
{
    for (int item : {0, 1}) {
        auto* source = AddSeries<TLineSeries>("Source" + std::to_string(item), {2, 4, 9});
        auto* result = AddSeries<TLineSeries>("Result" + std::to_string(item), {});
        result->SetFunction(new TAverageTeeFunction(owner.get()));
        result->SetDataSource(source);
        ASSERT_EQ(result->Count(), 2);
        Open(result);
        page->PageSeries->SelectPage(page->TabDataSource);
        ASSERT_EQ(page->CBDataSourcestyle->ItemIndex(), 2);
        page->CBDataSourcestyle->Pick(item);
        EXPECT_EQ(result->FunctionType(), nullptr) << item;
        EXPECT_EQ(result->DataSource(), nullptr) << item;
        EXPECT_EQ(result->ManualData(), item == 0) << item;
        // The calculated points stay, and a change of the old source leaves them be.
        result->YValues()->SetValue(1, 7);
        source->AddPointXY(3, 25);
        ASSERT_EQ(result->Count(), 2) << item;
        EXPECT_DOUBLE_EQ(result->YValue(0), 5) << item;
        EXPECT_DOUBLE_EQ(result->YValue(1), 7) << item;
        // Shown again, the page names the choice made.
        Open(source);
        page->PageSeries->SelectPage(page->TabDataSource);
        Open(result);
        page->PageSeries->SelectPage(page->TabDataSource);
        EXPECT_EQ(page->CBDataSourcestyle->ItemIndex(), item);
    }
}

TEST_F(SeriesPageTest, AverageOfEveryFivePoints)
{
    std::vector<double> ys;
    for (int i = 0; i < 20; ++i)
        ys.push_back(i * i);
    auto* source = AddSeries<TLineSeries>("Source", ys);
    auto* result = AddSeries<TLineSeries>("Result", {});
    TTeeFuncEditor* f = OpenFunctionPage(result);
    ASSERT_NE(f, nullptr);
    // No function yet: "Copy", and no options.
    EXPECT_EQ(f->CBSources->Text(), "Copy");
    EXPECT_FALSE(f->TabOptions->TabVisible());
    EXPECT_EQ(f->CBSources->Items()->Get(0), "Add");

    f->CBSources->Pick(ItemOf(f->CBSources, "Average"));
    ASSERT_NE(dynamic_cast<TAverageTeeFunction*>(result->FunctionType()), nullptr);
    // The source is chosen in the gallery unit's two-list chooser.
    auto* chooser = dynamic_cast<TSelectListForm*>(f->SelectListForm());
    ASSERT_NE(chooser, nullptr);
    user::ShowAndActivate(page);
    ASSERT_TRUE(user::ClickItem(chooser->FromList, chooser->FromList->Items()->IndexOfObject(source)));
    ASSERT_TRUE(user::Click(chooser->BRightOne));
    EXPECT_EQ(chooser->ToList->Items()->IndexOfObject(source), 0);
    auto* options = dynamic_cast<TAverageFuncEditor*>(f->OptionsForm());
    ASSERT_NE(options, nullptr);
    // A range period picked before the function has a source.
    ASSERT_TRUE(user::ClickTab(f->PageControl1, f->TabOptions->Caption()));
    options->CBStyle->Pick(2);
    ASSERT_TRUE(options->BChange->Enabled());
    driver.Act = [](TForm* d) {
        auto* increment = static_cast<TAxisIncrement*>(d);
        EXPECT_EQ(d->Caption(), "Period range");
        EXPECT_FALSE(increment->IsDateTime);
        increment->ECustom->SetText("2.5");
        EXPECT_TRUE(user::Click(increment->BOk));
    };
    EXPECT_TRUE(user::Click(options->BChange));
    EXPECT_EQ(options->ENum->Text(), "2.5");
    options->CBStyle->Pick(1);
    options->ENum->SetText("5");
    EXPECT_TRUE(f->BApply->Enabled());
    f->PageControl1->SelectPage(f->TabOptions);
    page->PageSeries->SelectPage(page->TabDataSource);
    page->SetBounds(0, 0, 436, 420);
    SavePicture(page, "function");
    ASSERT_TRUE(user::Click(f->BApply));
    EXPECT_FALSE(f->BApply->Enabled());
    EXPECT_EQ(result->DataSource(), source);
    EXPECT_EQ(result->FunctionType()->Period(), 5);
    ASSERT_EQ(result->Count(), 4);
    for (int k = 0; k < 4; ++k) {
        double sum = 0;
        for (int i = 5 * k; i < 5 * k + 5; ++i)
            sum += i * i;
        EXPECT_DOUBLE_EQ(result->YValue(k), sum / 5) << k;
        EXPECT_DOUBLE_EQ(result->XValue(k), 5 * k + 2) << k;
    }

    // Reopened, the function shows its period; a fractional period shows as the base
    // counts it, and "All points" clears it.
    TTeeFuncEditor* again = OpenFunctionPage(result);
    ASSERT_NE(again, nullptr);
    options = dynamic_cast<TAverageFuncEditor*>(again->OptionsForm());
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->CBStyle->ItemIndex(), 1);
    EXPECT_EQ(options->ENum->Text(), "5");
    result->FunctionType()->SetPeriod(0.4);
    options->LoadFromFunction();
    EXPECT_EQ(options->CBStyle->ItemIndex(), 1);
    EXPECT_EQ(options->ENum->Text(), "1");
    options->CBStyle->Pick(0);
    EXPECT_TRUE(user::Click(again->BApply));
    EXPECT_EQ(result->FunctionType()->Period(), 0);
    // A line shows the average of the whole source as a level line.
    ASSERT_EQ(result->Count(), 2);
    EXPECT_DOUBLE_EQ(result->YValue(0), 2470.0 / 20);

    // A moving function offers no range: its range style loads as points.
    TTeeMovingFunction moving(nullptr);
    moving.SetPeriodStyle(psRange);
    moving.SetPeriod(3);
    TTeeFunctionEditor periods(nullptr);
    periods.SetTag(reinterpret_cast<intptr_t>(static_cast<TObject*>(&moving)));
    periods.Show();
    EXPECT_EQ(periods.CBStyle->ItemIndex(), 1);
    EXPECT_EQ(periods.ENum->Text(), "3");
}

TEST_F(SeriesPageTest, PickingAGroupingLetsItsSizeBeTypedAtOnce)
{
    AddSeries<TLineSeries>("Source", {1, 2, 3, 4});
    auto* result = AddSeries<TLineSeries>("Result", {});
    TTeeFuncEditor* f = OpenFunctionPage(result);
    ASSERT_NE(f, nullptr);
    f->CBSources->Pick(ItemOf(f->CBSources, "Average"));
    auto* options = dynamic_cast<TAverageFuncEditor*>(f->OptionsForm());
    ASSERT_NE(options, nullptr);
    user::ShowAndActivate(page);
    ASSERT_TRUE(user::ClickTab(f->PageControl1, f->TabOptions->Caption()));
    ASSERT_TRUE(user::Focus(options->CBStyle));
    // The arrow key picks the next grouping; what is typed then is its size.
    ASSERT_TRUE(user::Key(Qt::Key_Down));
    ASSERT_EQ(options->CBStyle->ItemIndex(), 1);
    ASSERT_TRUE(user::Type("5"));
    EXPECT_EQ(options->ENum->Text(), "5");
    ASSERT_TRUE(user::Focus(options->CBStyle));
    ASSERT_TRUE(user::Key(Qt::Key_Down));
    ASSERT_EQ(options->CBStyle->ItemIndex(), 2);
    ASSERT_TRUE(user::Type("2.5"));
    EXPECT_EQ(options->ENum->Text(), "2.5");
}

TEST_F(SeriesPageTest, TheChooserShowsTheSourceAppliedAsCopy)
{
    AddSeries<TLineSeries>("Other", {5, 6});
    auto* source = AddSeries<TLineSeries>("Source", {1, 2, 3, 4});
    auto* result = AddSeries<TLineSeries>("Result", {});
    TTeeFuncEditor* f = OpenFunctionPage(result);
    ASSERT_NE(f, nullptr);
    user::ShowAndActivate(page);
    f->CBSingle->Pick(f->CBSingle->Items()->IndexOfObject(source));
    ASSERT_TRUE(user::Click(f->BApply));
    ASSERT_EQ(result->DataSource(), source);
    // The function keeps the copied source, and the chooser says so.
    f->CBSources->Pick(ItemOf(f->CBSources, "Average"));
    ASSERT_EQ(result->DataSource(), source);
    auto* chooser = dynamic_cast<TSelectListForm*>(f->SelectListForm());
    ASSERT_NE(chooser, nullptr);
    ASSERT_EQ(chooser->ToList->Items()->Count(), 1);
    EXPECT_EQ(chooser->ToList->Items()->GetObject(0), source);
    EXPECT_LT(chooser->FromList->Items()->IndexOfObject(source), 0);
    EXPECT_GE(chooser->FromList->Items()->IndexOfObject(chart->Series(0)), 0);
}

TEST_F(SeriesPageTest, CustomFunctionValidatesBeforeWriting)
{
    auto* curve = AddSeries<TLineSeries>("Curve", {});
    TTeeFuncEditor* f = OpenFunctionPage(curve);
    ASSERT_NE(f, nullptr);
    f->CBSources->Pick(ItemOf(f->CBSources, "y = f(x)"));
    EXPECT_FALSE(f->TabSource->TabVisible());
    EXPECT_EQ(f->PageControl1->ActivePage(), f->TabOptions);
    auto* options = dynamic_cast<TCustomFunctionEditor*>(f->OptionsForm());
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->EStart->Text(), "0");
    EXPECT_EQ(options->EStep->Text(), "1");
    EXPECT_EQ(options->ENum->Text(), "100");
    auto* fn = dynamic_cast<TCustomTeeFunction*>(curve->FunctionType());
    ASSERT_NE(fn, nullptr);

    // Nothing is written unless all three are good.
    options->EStart->SetText("5");
    for (const char* count : {"-", "", "0", "2000000"}) {
        options->ENum->SetText(count);
        EXPECT_THROW(f->BApply->Click(), Exception) << count;
        EXPECT_EQ(fn->StartX(), 0) << count;
        EXPECT_FALSE(fn->Updating()) << count;
    }
    options->ENum->SetText("12");
    options->EStep->SetText("0.5");
    fn->OnCalculate = [](TCustomTeeFunction*, double X, double& Y) { Y = 2 * X; };
    EXPECT_TRUE(user::Click(f->BApply));
    EXPECT_EQ(fn->StartX(), 5);
    EXPECT_EQ(fn->Period(), 0.5);
    ASSERT_EQ(curve->Count(), 12);
    EXPECT_EQ(curve->XValue(11), 10.5);
    EXPECT_EQ(curve->YValue(11), 21);

    // A function the registry does not list is shown, not replaced.
    auto* moving = AddSeries<TLineSeries>("Moving", {});
    CreateFunctionForSeries(moving, TTeeMovingFunction::StaticClassInfo());
    TTeeFuncEditor* g = OpenFunctionPage(moving);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->CBSources->Text(), "TTeeMovingFunction");
    EXPECT_NE(dynamic_cast<TTeeMovingFunction*>(moving->FunctionType()), nullptr);
}

TEST_F(SeriesPageTest, SourcesFollowTheChartAndSeveralAreChosenInTheList)
{
    auto* a = AddSeries<TLineSeries>("A", {1, 2, 3});
    auto* b = AddSeries<TLineSeries>("B", {10, 20, 30});
    auto* sum = AddSeries<TLineSeries>("Sum", {});
    TTestSelectList* chooser = nullptr;
    CreateSelectListFormHook = [&](TComponent* AOwner, TNotifyEvent OnChange) -> TForm* {
        chooser = new TTestSelectList(AOwner);
        chooser->OnChange = OnChange;
        return chooser;
    };
    TTeeFuncEditor* f = OpenFunctionPage(sum);
    ASSERT_NE(f, nullptr);
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(f->CBSingle->Items()->Count(), 2);   // not the series itself
    f->CBSources->Pick(ItemOf(f->CBSources, "Add"));
    EXPECT_FALSE(f->PanSingle->Visible());
    EXPECT_TRUE(f->PanSelectList->Visible());
    chooser->Choose(chooser->FromList->Items()->IndexOfObject(b));
    chooser->Choose(chooser->FromList->Items()->IndexOfObject(a));
    EXPECT_TRUE(f->BApply->Enabled());
    EXPECT_TRUE(user::Click(f->BApply));
    ASSERT_EQ(sum->DataSources()->Count(), 2);
    EXPECT_EQ(sum->DataSources()->Item(0), b);
    ASSERT_EQ(sum->Count(), 3);
    EXPECT_EQ(sum->YValue(2), 33);

    // A series that leaves the chart leaves the lists; "Copy" drops the function.
    delete a;
    EXPECT_EQ(f->CBSingle->Items()->IndexOfObject(a), -1);
    EXPECT_EQ(chooser->ToList->Items()->IndexOfObject(a), -1);
    f->CBSources->Pick(ItemOf(f->CBSources, "Copy"));
    EXPECT_EQ(sum->FunctionType(), nullptr);
    EXPECT_TRUE(f->PanSingle->Visible());
    // Deleting the edited series leaves the page with nothing to apply to.
    delete sum;
    EXPECT_EQ(page->SourceEditor(), nullptr);
    EXPECT_EQ(page->TheSeries(), nullptr);
    // Nor does the page keep a chart that goes before it.
    page->SelectSeries(b);
    delete chart;
    delete page;
    page = nullptr;
}

} // namespace

TEST_F(SeriesPageTest, AClickOnTheColourSwatchChoosesTheSeriesColour)
{
    auto* line = AddSeries<TLineSeries>("Line", {1, 2});
    line->SetSeriesColor(clGreen);
    Open(line);
    user::ShowAndActivate(page);
    driver.PickColor = TColor(0x2040A0);
    ASSERT_TRUE(user::Click(page->PaintBox1));
    EXPECT_EQ(line->SeriesColor(), TColor(0x2040A0));
    // A cancelled dialog keeps the colour.
    driver.PickColor = clNone;
    ASSERT_TRUE(user::Click(page->PaintBox1));
    EXPECT_EQ(line->SeriesColor(), TColor(0x2040A0));
}

TEST_F(SeriesPageTest, TheManualSourcesNavigatorStepsThroughTheRows)
{
    auto* line = AddSeries<TLineSeries>("Line", {4, 7, 9});
    line->SetManualData(true);
    Open(line);
    user::ShowAndActivate(page);
    ASSERT_TRUE(user::ClickTab(page->PageSeries, "Data Source"));
    ASSERT_EQ(page->CBDataSourcestyle->Text(), "Manual");
    SavePicture(page, "series-manual");
    TChartGridNavigator* nav = page->ChartGridNavigator1;
    TChartGrid* grid = page->ChartGrid1;
    const int first = grid->FirstDataRow();
    ASSERT_EQ(grid->Row(), first);
    ASSERT_TRUE(user::Click(nav->Buttons(nbLast)));
    EXPECT_EQ(grid->Row(), first + 2);
    ASSERT_TRUE(user::Click(nav->Buttons(nbPrior)));
    EXPECT_EQ(grid->Row(), first + 1);
    ASSERT_TRUE(user::Click(nav->Buttons(nbFirst)));
    EXPECT_EQ(grid->Row(), first);
}
