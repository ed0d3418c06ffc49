#include "TeeEdiSeri.h"

#include "FormatEditor.h"
#include "Galleries.h"
#include "PointerEditor.h"
#include "TeeFuncEdit.h"
#include "TeePenDlg.h"

#include "controls/CommonDialogs.h"
#include "graphics/Bitmap.h"
#include "system/ScopeGuard.h"
#include "system/SysUtils.h"

#include <algorithm>

namespace {

// Style flags of a series read by the page.
constexpr unsigned StyleNoSourceNoPersistent = 1u << 0;
constexpr unsigned StylePersistent = 1u << 4;
constexpr unsigned StyleNoDataSource = 1u << 5;

// The data-source items every series has.
enum { dsManual, dsRandom, dsFunction };

// A format picture with the platform's separators in place of "," and ".", and back.
std::string SwapSeparators(const std::string& Text, char Comma, char Point)
{
    std::string out = Text;
    for (char& c : out)
        c = c == ',' ? Comma : c == '.' ? Point : c;
    return out;
}
std::string ShownFormat(const std::string& Format)
{
    return SwapSeparators(Format, FormatSettings().ThousandSeparator, FormatSettings().DecimalSeparator);
}
std::string StoredFormat(const std::string& Text)
{
    std::string out = Text;
    const char thousands = FormatSettings().ThousandSeparator;
    const char decimal = FormatSettings().DecimalSeparator;
    for (char& c : out)
        c = c == thousands ? ',' : c == decimal ? '.' : c;
    return out;
}

bool ReadInt(TEdit* Edit, int& Value)
{
    int32_t v = 0;
    if (!TryStrToInt(Edit->Text(), v))
        return false;
    Value = v;
    return true;
}

// The series' depth values, or nullptr (the look-up by name falls back to Y).
TChartValueList* DepthValues(TChartSeries* Series)
{
    const TChartValueLists* lists = Series->ValuesList();
    for (int i = 2; i < lists->Count(); ++i)
        if (SameText(lists->ValueList(i)->Name(), "Z"))
            return lists->ValueList(i);
    return nullptr;
}

} // namespace

// ---- TSeriesColorBox ---------------------------------------------------------------

TSeriesColorBox::TSeriesColorBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetCursor(crHandPoint);
}

void TSeriesColorBox::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    if (Series != nullptr)
        DrawSeriesSymbolInRect(Series, c, TRect(0, 4, Width(), Height() - 4),
                               dynamic_cast<TCustomChart*>(Series->ParentChart()));
}

// ---- TFormTeeSeries ----------------------------------------------------------------

TFormTeeSeries::TFormTeeSeries(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "FormTeeSeries");
    SetCaption("Series");
    BuildForm(this, 436, 420, {
        Line({Combo(CBSeries, "CBSeries", {}, csDropDownList, 170), Ctl(ImageSeries, "ImageSeries", "", 26),
              Ctl(LabelSeriesClass, "LabelSeriesClass", "", 240), Stretch(), Ctl(PaintBox1, "PaintBox1", "", 40)}),
        Pages(PageSeries, "PageSeries", {
            Page(TheTabSheet, "TheTabSheet", "Format", {}),
            Page(TabGeneral, "TabGeneral", "General", {
                Line({Ctl(CBShowInLegend, "CBShowInLegend", "&Show In Legend"), Stretch(),
                      Row(LCursor, "LCursor", "&Cursor:", {Combo(CBCursor, "CBCursor", {}, csDropDownList, 120)})}),
                Line({Row(LDepth, "LDepth", "&Depth:", {UpDownEdit(EDepth, "EDepth", UDDepth, "UDDepth", 0, 1200)}),
                      Ctl(CBDepth, "CBDepth", "Auto"), Stretch()}),
                Group(GBFormats, "GBFormats", "Formats", {
                    Row("&Values:", {Combo(CBFormat, "CBFormat", {}, csDropDown, 150), Ctl(BFormat, "BFormat", "...", 32)}),
                    Row("&Percents:", {Ctl(EPercentFormat, "EPercentFormat"), Ctl(BPercentFormat, "BPercentFormat", "...", 32)}),
                }),
                Columns({
                    Column({Group(GBHorizAxis, "GBHorizAxis", "Horizontal Axis", {
                        Combo(CBHorizAxis, "CBHorizAxis", {"Top", "Bottom", "Top and Bottom"}),
                        Ctl(CBXDateTime, "CBXDateTime", "Dat&eTime")})}),
                    Column({Group(GBVertAxis, "GBVertAxis", "Vertical Axis", {
                        Combo(CBVertAxis, "CBVertAxis", {"Left", "Right", "Left and Right"}),
                        Ctl(CBYDateTime, "CBYDateTime", "D&ateTime")})}),
                }),
                Line({Ctl(CBZDateTime, "CBZDateTime", "&Z DateTime"), Stretch(),
                      Row(LSort, "LSort", "S&ort:", {Combo(CBSort, "CBSort", {"Ascending", "Descending", "None"}, csDropDownList, 110)})}),
            }),
            Page(TabMarks, "TabMarks", "Marks", {
                Pages(PageControlMarks, "PageControlMarks", {
                    Page(TabMarksStyle, "TabMarksStyle", "Style", {
                        Columns({
                            Column({Ctl(CBMarksVisible, "CBMarksVisible", "&Visible"), Ctl(CBMarkClip, "CBMarkClip", "Cl&ipped"),
                                    Row("&Angle:", {UpDownEdit(SEMarksAngle, "SEMarksAngle", UDMarksAngle, "UDMarksAngle", 0, 360)}),
                                    Row("Draw &every:", {UpDownEdit(EMarksEvery, "EMarksEvery", UDEvery, "UDEvery", 1, 5000)}),
                                    Ctl(CBMultiLine, "CBMultiLine", "&Multi line"),
                                    Ctl(CBAllVisible, "CBAllVisible", "All Series Visi&ble"), Stretch()}),
                            Column({Radios(RGMarkStyle, "RGMarkStyle", "&Style:",
                                           {"Value", "Percent", "Label", "Label and Percent", "Label and Value", "Legend",
                                            "Percent Total", "Label and Percent Total", "X value", "X and Y values"},
                                           2)}),
                        }),
                    }),
                    Page(TabArrows, "TabArrows", "Arrows", {
                        Line({Ctl(BMarkLinCol, "BMarkLinCol", "&Border..."), Ctl(BCalloutPointer, "BCalloutPointer", "&Pointer..."),
                              Stretch()}),
                        Row("&Length:", {UpDownEdit(SEArrowLength, "SEArrowLength", UDArrowLength, "UDArrowLength", -1000, 1000)}),
                        Row("&Distance:", {UpDownEdit(EArrowDist, "EArrowDist", UDArrowDist, "UDArrowDist", -1000, 1000)}),
                        Row("&Arrow head:", {Combo(CBHead, "CBHead", {"None", "Line", "Solid"}, csDropDownList, 90)}),
                        Row("&Size:", {UpDownEdit(Edit1, "Edit1", UDHeadSize, "UDHeadSize", -1000, 1000)}),
                    }),
                    Page(TabSymbol, "TabSymbol", "Symbol", {}),
                }),
            }),
            Page(TabDataSource, "TabDataSource", "Data Source", {
                Line({Combo(CBDataSourcestyle, "CBDataSourcestyle", {"Manual", "Random", "Function"}, csDropDownList, 130),
                      Stretch(), Ctl(NewDataButton, "NewDataButton", "&New..."), Ctl(EditDataButton, "EditDataButton", "&Edit..."),
                      Ctl(DeleteDataButton, "DeleteDataButton", "&Delete")}),
                // The source's editor form, when there is one, covers the whole panel.
                Growing(Panel(PanelData, "PanelData", {
                    Panel(Panel4, "Panel4", {
                        Line({Row("&Number of sample values:",
                                  {UpDownEdit(ESamples, "ESamples", UDSamples, "UDSamples", 0, MaxSampleValues)}),
                              Ctl(CBSamplesDefault, "CBSamplesDefault", "&Default"), Stretch()}),
                        Buttons({Ctl(BApplyRandom, "BApplyRandom", "&Apply"), Ctl(Button3, "Button3", "&Clear")}),
                    }),
                    Growing(Ctl(ChartGrid1, "ChartGrid1")),
                    Ctl(ChartGridNavigator1, "ChartGridNavigator1"),
                })),
                Ctl(CBPersistent, "CBPersistent", "Persistent"),
            }),
        }),
    });
    SetMinimumSize(ImageSeries, 26, 26);
    SetMinimumSize(PaintBox1, 40, 24);
    ChartGridNavigator1->SetGrid(ChartGrid1);
    BApplyRandom->SetEnabled(false);
    PageSeries->SetActivePage(TheTabSheet);
    PageControlMarks->SetActivePage(TabMarksStyle);

    CBSeries->OnChange = [this](TObject* s) { CBSeriesChange(s); };
    PageSeries->OnChange = [this](TObject* s) { PageSeriesChange(s); };
    PageSeries->OnChanging = [this](TObject*, bool& Allow) {
        Allow = PageSeries->ActivePage() != TabDataSource || FSourceEditor == nullptr || FSourceEditor->CloseQuery();
    };
    OnCloseQuery = [this](TObject*, bool& CanClose) { CanClose = FSourceEditor == nullptr || FSourceEditor->CloseQuery(); };
    OnShow = [this](TObject*) { FLoading = false; };
    // Other pages change the series meanwhile (a deleted axis, the chart's 3D): the
    // shown tab loads again, and the series type's forms on it load themselves.
    OnShowAgain = [this](TObject* s) { PageSeriesChange(s); };
    PaintBox1->OnClick = [this](TObject* s) { PaintBox1Click(s); };

    // General.
    CBShowInLegend->OnClick = [this](TObject*) {
        if (Editing())
            FSeries->SetShowInLegend(CBShowInLegend->Checked());
    };
    CBCursor->OnChange = [this](TObject*) {
        if (Editing())
            FSeries->SetCursor(CursorFromName(FSeries->Cursor(), CBCursor->Text()));
    };
    CBDepth->OnClick = [this](TObject*) {
        if (Editing())
            FSeries->SetDepth(CBDepth->Checked() ? -1 : UDDepth->Position());
    };
    EDepth->OnChange = [this](TObject*) {
        int depth = 0;
        if (!Editing() || !ReadInt(EDepth, depth))
            return;
        FSeries->SetDepth(std::clamp(depth, UDDepth->Min(), UDDepth->Max()));
        auto changing = RestoreOnExit(FChanging);
        FChanging = true;
        CBDepth->SetChecked(false);
    };
    CBFormat->OnChange = [this](TObject*) {
        if (Editing())
            FSeries->SetValueFormat(StoredFormat(CBFormat->Text()));
    };
    EPercentFormat->OnChange = [this](TObject*) {
        if (Editing())
            FSeries->SetPercentFormat(StoredFormat(EPercentFormat->Text()));
    };
    BFormat->OnClick = [this](TObject*) {
        if (FSeries == nullptr)
            return;
        // Text set by the program fires no change: the format is written here.
        const std::string format = ShowFormatEditor(this, FSeries->ValueFormat());
        CBFormat->SetText(ShownFormat(format));
        FSeries->SetValueFormat(format);
    };
    BPercentFormat->OnClick = [this](TObject*) {
        if (FSeries != nullptr)
            EPercentFormat->SetText(ShownFormat(ShowFormatEditor(this, FSeries->PercentFormat())));
    };
    CBHorizAxis->OnChange = [this](TObject*) {
        if (!Editing())
            return;
        const int i = CBHorizAxis->ItemIndex();
        if (i >= 3) {
            if (TChartAxis* axis = ListedCustomAxis(CBHorizAxis, i))
                FSeries->SetCustomHorizAxis(axis);
        } else if (i >= 0) {
            FSeries->SetHorizAxis(static_cast<THorizAxis>(i));
        }
    };
    CBVertAxis->OnChange = [this](TObject*) {
        if (!Editing())
            return;
        const int i = CBVertAxis->ItemIndex();
        if (i >= 3) {
            if (TChartAxis* axis = ListedCustomAxis(CBVertAxis, i))
                FSeries->SetCustomVertAxis(axis);
        } else if (i >= 0) {
            FSeries->SetVertAxis(static_cast<TVertAxis>(i));
        }
    };
    CBXDateTime->OnClick = [this](TObject*) {
        if (Editing())
            FSeries->XValues()->SetDateTime(CBXDateTime->Checked());
    };
    CBYDateTime->OnClick = [this](TObject*) {
        if (Editing())
            FSeries->YValues()->SetDateTime(CBYDateTime->Checked());
    };
    CBZDateTime->OnClick = [this](TObject*) {
        if (Editing())
            if (TChartValueList* z = DepthValues(FSeries))
                z->SetDateTime(CBZDateTime->Checked());
    };
    CBSort->OnChange = [this](TObject* s) { CBSortChange(s); };

    // Marks.
    RGMarkStyle->OnClick = [this](TObject* s) { RGMarkStyleClick(s); };
    CBMarksVisible->OnClick = [this](TObject*) {
        if (!Editing())
            return;
        FSeries->Marks()->SetVisible(CBMarksVisible->Checked());
        auto changing = RestoreOnExit(FChanging);
        FChanging = true;
        CBAllVisible->SetChecked(FSeries->ParentChart() != nullptr &&
                                 std::ranges::all_of(FSeries->ParentChart()->SeriesList()->Items(),
                                                     [](TChartSeries* s) { return s->Marks()->Visible(); }));
    };
    CBAllVisible->OnClick = [this](TObject* s) { CBAllVisibleClick(s); };
    CBMarkClip->OnClick = [this](TObject*) {
        if (Editing())
            FSeries->Marks()->SetClip(CBMarkClip->Checked());
    };
    CBMultiLine->OnClick = [this](TObject*) {
        if (Editing())
            FSeries->Marks()->SetMultiLine(CBMultiLine->Checked());
    };
    SEMarksAngle->OnChange = [this](TObject*) {
        if (int v = 0; Editing() && ReadInt(SEMarksAngle, v))
            FSeries->Marks()->SetAngle(std::clamp(v, 0, 360));
    };
    EMarksEvery->OnChange = [this](TObject*) {
        if (int v = 0; Editing() && ReadInt(EMarksEvery, v))
            FSeries->Marks()->SetDrawEvery(std::clamp(v, 1, 5000));
    };
    SEArrowLength->OnChange = [this](TObject*) {
        if (int v = 0; Editing() && ReadInt(SEArrowLength, v))
            FSeries->Marks()->SetArrowLength(std::clamp(v, -1000, 1000));
    };
    EArrowDist->OnChange = [this](TObject*) {
        if (int v = 0; Editing() && ReadInt(EArrowDist, v))
            FSeries->Marks()->Callout()->SetDistance(std::clamp(v, -1000, 1000));
    };
    CBHead->OnChange = [this](TObject*) {
        if (Editing() && CBHead->ItemIndex() >= 0)
            FSeries->Marks()->Callout()->SetArrowHead(static_cast<TArrowHeadStyle>(CBHead->ItemIndex()));
    };
    Edit1->OnChange = [this](TObject*) {
        if (int v = 0; Editing() && ReadInt(Edit1, v))
            FSeries->Marks()->Callout()->SetArrowHeadSize(std::clamp(v, -1000, 1000));
    };
    BCalloutPointer->OnClick = [this](TObject*) {
        if (FSeries != nullptr)
            ShowPointerEditor(this, FSeries->Marks()->Callout());
    };

    // Data source.
    CBDataSourcestyle->OnChange = [this](TObject* s) { CBDataSourcestyleChange(s); };
    ESamples->OnChange = [this](TObject* s) { ESamplesChange(s); };
    CBSamplesDefault->OnClick = [this](TObject*) {
        if (FChanging || FSeries == nullptr || !CBSamplesDefault->Checked())
            return;
        auto changing = RestoreOnExit(FChanging);
        FChanging = true;
        FSeries->SetSampleCount(0);
        ESamples->SetText(IntToStr(FSeries->DefaultSampleCount()));
        BApplyRandom->SetEnabled(true);
    };
    BApplyRandom->OnClick = [this](TObject* s) { BApplyRandomClick(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    CBPersistent->OnClick = [this](TObject*) {
        if (FChanging || FSeries == nullptr)
            return;
        const unsigned style = FSeries->Style();
        FSeries->SetStyle(CBPersistent->Checked() ? style | StylePersistent : style & ~StylePersistent);
    };
}

TFormTeeSeries::~TFormTeeSeries()
{
    FDestroying = true;
    FreeSourceEditor();
    FreeEmbedded();
    ListenTo(nullptr);
}

void TFormTeeSeries::ListenTo(TCustomAxisPanel* Chart)
{
    SwitchListenedPanel(this, this, FChart, Chart);
}

void TFormTeeSeries::Notification(TComponent* AComponent, TOperation Operation)
{
    TForm::Notification(AComponent, Operation);
    // A chart that goes has no listeners left to tell.
    if (Operation == TOperation::opRemove && AComponent == FChart)
        FChart = nullptr;
}

TForm* TFormTeeSeries::EmbeddedForm(int Index) const
{
    if (Index < 0 || Index >= FEmbeddedCount)
        throw ERangeError();
    return FEmbedded[size_t(Index)];
}

void TFormTeeSeries::FillSeries(TCustomAxisPanel* Chart)
{
    auto changing = RestoreOnExit(FChanging);
    FChanging = true;
    TObject* keep = CBSeries->ItemIndex() >= 0 ? CBSeries->Items()->GetObject(CBSeries->ItemIndex()) : nullptr;
    CBSeries->Items()->Clear();
    if (Chart != nullptr)
        for (TChartSeries* s : Chart->SeriesList()->Items())
            CBSeries->Items()->AddObject(s->Title(), s);
    CBSeries->SetItemIndex(keep != nullptr ? CBSeries->Items()->IndexOfObject(keep) : -1);
}

void TFormTeeSeries::SelectSeries(TChartSeries* Series)
{
    if (Series != nullptr && CBSeries->Items()->IndexOfObject(Series) < 0)
        FillSeries(Series->ParentChart());
    CBSeries->SetItemIndex(Series != nullptr ? CBSeries->Items()->IndexOfObject(Series) : -1);
    CBSeriesChange(this);
}

void TFormTeeSeries::CBSeriesChange(TObject*)
{
    auto loading = RestoreOnExit(FLoading);
    FLoading = true;
    TTabSheet* active = PageSeries->ActivePage();
    const std::string returnTab = active != nullptr ? active->Caption() : std::string();
    const int index = CBSeries->ItemIndex();
    TChartSeries* series = index >= 0 ? dynamic_cast<TChartSeries*>(CBSeries->Items()->GetObject(index)) : nullptr;
    if (FListBox != nullptr && series != nullptr)
        for (int i = 0; i < FListBox->Items()->Count(); ++i)
            if (FListBox->SeriesAt(i) == series && FListBox->ItemIndex() != i)
                FListBox->SelectSeries(i);
    if (series != FLastSeries || series != FSeries) {
        FSeries = series;
        PaintBox1->Series = series;
        if (series != nullptr)
            SetUpSeries(returnTab);
        FLastSeries = series;
    }
    if (series == nullptr) {
        ImageSeries->SetVisible(false);
        LabelSeriesClass->SetCaption("");
        PageSeries->SetVisible(false);
    }
}

void TFormTeeSeries::SetUpSeries(const std::string& ReturnTab)
{
    TChartSeries* s = FSeries;
    ListenTo(s->ParentChart());
    // Registered source classes would follow the three items every series has.
    while (CBDataSourcestyle->Items()->Count() > 3)
        CBDataSourcestyle->Items()->Delete(3);

    TBitmap icon;
    icon.SetPixelRatio(ImageSeries->PixelRatio());
    DrawClassPicture(s, &icon, 24);
    ImageSeries->Picture()->SetGraphic(&icon);
    ImageSeries->SetVisible(true);
    PaintBox1->SetVisible(!s->ColorEachPoint());
    std::string className = GalleryNameOfSeries(s);
    std::erase(className, '&');
    LabelSeriesClass->SetCaption(className + ": " + s->Title());

    const unsigned style = s->Style();
    PageSeries->SetVisible(true);
    TabGeneral->SetTabVisible(ShowGeneral);
    TabMarks->SetTabVisible(ShowMarks);
    TabDataSource->SetTabVisible(ShowDataSource && (style & (StyleNoSourceNoPersistent | StyleNoDataSource)) == 0);
    GBHorizAxis->SetVisible(s->UseAxis());
    GBVertAxis->SetVisible(s->UseAxis());
    {
        auto changing = RestoreOnExit(FChanging);
        FChanging = true;
        CBPersistent->SetVisible(ShowPersistent && (style & StyleNoSourceNoPersistent) == 0);
        CBPersistent->SetChecked((style & StylePersistent) != 0);
    }

    // The old series' forms go before the new series' forms come.
    FreeSourceEditor();
    FreeEmbedded();
    TheTabSheet->SetTabVisible(true);
    TForm* editor = CreateFormOfClass(s->EditorClassName(), this);
    if (editor == nullptr || !EmbedEditorForm(this, editor, TheTabSheet, s))
        TheTabSheet->SetTabVisible(false);

    TTabSheet* target = nullptr;
    for (int i = 0; i < PageSeries->PageCount(); ++i)
        if (TTabSheet* tab = PageSeries->Pages(i); tab->Caption() == ReturnTab && tab->TabVisible())
            target = tab;
    if (target == nullptr)
        target = TheTabSheet->TabVisible() ? TheTabSheet : TabGeneral;
    PageSeries->SetActivePage(target);
    FSourceItem = -1;
    {
        auto changing = RestoreOnExit(FChanging);
        FChanging = true;
        CBDataSourcestyle->SetItemIndex(-1);
    }
    PageSeriesChange(this);
    PaintBox1->Invalidate();
}

void TFormTeeSeries::FreeEmbedded()
{
    const int count = std::exchange(FEmbeddedCount, 0);
    for (int i = count - 1; i >= 0; --i) {
        TForm* form = std::exchange(FEmbedded[size_t(i)], nullptr);
        auto* tab = dynamic_cast<TTabSheet*>(form->Parent());
        delete form;
        if (tab != nullptr && tab != TheTabSheet && !FDestroying && !tab->IsDestroying())
            delete tab;
    }
}

void TFormTeeSeries::FreeSourceEditor()
{
    delete std::exchange(FSourceEditor, nullptr);
    FSourceItem = -1;
}

void TFormTeeSeries::PageSeriesChange(TObject*)
{
    if (FSeries == nullptr)
        return;
    TTabSheet* active = PageSeries->ActivePage();
    if (active == TabGeneral)
        LoadGeneral();
    else if (active == TabMarks)
        LoadMarks();
    else if (active == TabDataSource)
        LoadDataSource();
}

void TFormTeeSeries::LoadGeneral()
{
    auto changing = RestoreOnExit(FChanging);
    FChanging = true;
    TChartSeries* s = FSeries;
    CBShowInLegend->SetChecked(s->ShowInLegend());
    CBDepth->SetChecked(s->Depth() == -1);
    UDDepth->SetPosition(s->Depth() == -1 ? 0 : s->Depth());
    CBFormat->Items()->Clear();
    AddValueFormats(CBFormat->Items());
    if (CBFormat->Items()->IndexOf(s->ValueFormat()) < 0)
        CBFormat->Items()->Add(s->ValueFormat());
    CBFormat->SetText(ShownFormat(s->ValueFormat()));
    EPercentFormat->SetText(ShownFormat(s->PercentFormat()));

    for (TComboBox* combo : {CBHorizAxis, CBVertAxis})
        while (combo->Items()->Count() > 3)
            combo->Items()->Delete(3);
    if (TCustomAxisPanel* chart = s->ParentChart()) {
        TChartAxes* axes = chart->Axes();
        for (int i = 6; i < axes->Count(); ++i) {
            TChartAxis* axis = axes->Items(i);
            (axis->Horizontal() ? CBHorizAxis : CBVertAxis)->Items()->AddObject("Custom " + IntToStr(i - 6), axis);
        }
    }
    CBHorizAxis->SetItemIndex(s->HorizAxis() == aCustomHorizAxis ? CBHorizAxis->Items()->IndexOfObject(s->CustomHorizAxis())
                                                                 : static_cast<int>(s->HorizAxis()));
    CBVertAxis->SetItemIndex(s->VertAxis() == aCustomVertAxis ? CBVertAxis->Items()->IndexOfObject(s->CustomVertAxis())
                                                              : static_cast<int>(s->VertAxis()));
    CBXDateTime->SetChecked(s->XValues()->DateTime());
    CBYDateTime->SetChecked(s->YValues()->DateTime());
    TChartValueList* z = DepthValues(s);
    CBZDateTime->SetVisible(z != nullptr);
    CBZDateTime->SetChecked(z != nullptr && z->DateTime());
    const TChartListOrder order = s->XValues()->Order();
    CBSort->SetItemIndex(order == loAscending ? 0 : order == loDescending ? 1 : 2);
    const bool fewLists = s->ValuesList()->Count() < 3;
    SetControlsVisible({LSort, CBSort, LDepth, EDepth, UDDepth, CBDepth}, fewLists);
    FillCursorList(CBCursor, s->Cursor());
}

// The custom axis of an axis combo's item while the chart still has it; else the lists
// are filled again from the chart's axes and there is none.
TChartAxis* TFormTeeSeries::ListedCustomAxis(TComboBox* Combo, int Index)
{
    TObject* listed = Combo->Items()->GetObject(Index);
    if (TCustomAxisPanel* chart = FSeries->ParentChart()) {
        TChartAxes* axes = chart->Axes();
        for (int i = 6; i < axes->Count(); ++i)
            if (static_cast<TObject*>(axes->Items(i)) == listed)
                return axes->Items(i);
    }
    LoadGeneral();
    return nullptr;
}

void TFormTeeSeries::CBSortChange(TObject*)
{
    if (!Editing())
        return;
    FSeries->YValues()->SetOrder(loNone);
    const int i = CBSort->ItemIndex();
    if (i == 2) {
        FSeries->XValues()->SetOrder(loNone);
    } else if (i >= 0) {
        FSeries->XValues()->SetOrder(i == 0 ? loAscending : loDescending);
        FSeries->XValues()->SortPoints();
    }
    FSeries->Repaint();
}

void TFormTeeSeries::EnableMultiLine()
{
    const int style = RGMarkStyle->ItemIndex();
    CBMultiLine->SetEnabled(style == smsLabelPercent || style == smsLabelValue || style == smsPercentTotal ||
                            style == smsLabelPercentTotal || style == smsXY);
}

void TFormTeeSeries::LoadMarks()
{
    TSeriesMarks* marks = FSeries->Marks();
    if (FMarksEditor == nullptr) {
        FMarksEditor = EmbedShapeEditor(PageControlMarks, marks);
        PageControlMarks->SetActivePage(TabMarksStyle);
    }
    if (FSymbolEditor == nullptr) {
        FSymbolEditor = CreateShapeEditor(this, marks->Symbol(), TabSymbol);
        FSymbolEditor->TabText->SetTabVisible(false);
        // A visible box where the colour button was.
        FSymbolVisible = new TCheckBox(FSymbolEditor);
        FSymbolVisible->SetName("CBSymbolVisible");
        FSymbolVisible->SetCaption("&Visible");
        ReplaceInLayout(FSymbolEditor->BBackColor, FSymbolVisible);
        FSymbolVisible->OnClick = [this](TObject* s) {
            if (!FChanging)
                FSymbolEditor->CBVisibleChecked(s);
        };
    }
    auto changing = RestoreOnExit(FChanging);
    FChanging = true;
    RGMarkStyle->SetItemIndex(static_cast<int>(marks->Style()));
    UDArrowLength->SetPosition(marks->ArrowLength());
    UDArrowDist->SetPosition(marks->Callout()->Distance());
    UDMarksAngle->SetPosition(marks->Angle());
    CBMarkClip->SetChecked(marks->Clip());
    UDEvery->SetPosition(marks->DrawEvery());
    CBMultiLine->SetChecked(marks->MultiLine());
    CBMarksVisible->SetChecked(marks->Visible());
    AttachPen(BMarkLinCol, marks->Arrow());
    CBHead->SetItemIndex(static_cast<int>(marks->Callout()->ArrowHead()));
    UDHeadSize->SetPosition(marks->Callout()->ArrowHeadSize());
    TCustomAxisPanel* chart = FSeries->ParentChart();
    CBAllVisible->SetChecked(chart != nullptr && std::ranges::all_of(chart->SeriesList()->Items(), [](TChartSeries* s) {
                                 return s->Marks()->Visible();
                             }));
    FMarksEditor->SetShape(marks);
    LoadShapeControls(FMarksEditor, marks);
    FSymbolEditor->SetShape(marks->Symbol());
    LoadShapeControls(FSymbolEditor, marks->Symbol());
    FSymbolVisible->SetChecked(marks->Symbol()->Visible());
    EnableMultiLine();
}

void TFormTeeSeries::RGMarkStyleClick(TObject*)
{
    if (!Editing() || RGMarkStyle->ItemIndex() < 0)
        return;
    FSeries->Marks()->SetStyle(static_cast<TSeriesMarksStyle>(RGMarkStyle->ItemIndex()));
    EnableMultiLine();
}

void TFormTeeSeries::CBAllVisibleClick(TObject*)
{
    if (!Editing() || FSeries->ParentChart() == nullptr)
        return;
    for (TChartSeries* s : FSeries->ParentChart()->SeriesList()->Items())
        s->Marks()->SetVisible(CBAllVisible->Checked());
    auto changing = RestoreOnExit(FChanging);
    FChanging = true;
    CBMarksVisible->SetChecked(FSeries->Marks()->Visible());
}

void TFormTeeSeries::LoadDataSource()
{
    TChartSeries* s = FSeries;
    int item = dsManual;
    if (s->FunctionType() != nullptr || dynamic_cast<TChartSeries*>(s->DataSource()) != nullptr)
        item = dsFunction;
    else if (s->DataSource() == nullptr && s->Count() > 0 && !s->ManualData())
        item = dsRandom;
    if (item == FSourceItem)
        return;
    {
        auto changing = RestoreOnExit(FChanging);
        FChanging = true;
        CBDataSourcestyle->SetItemIndex(item);
    }
    ShowSourceEditor(item);
}

void TFormTeeSeries::ShowSourceEditor(int Item)
{
    if (FSourceEditor != nullptr) {
        if (!FSourceEditor->CloseQuery()) {
            auto changing = RestoreOnExit(FChanging);
            FChanging = true;
            CBDataSourcestyle->SetItemIndex(FSourceItem);
            return;
        }
        FreeSourceEditor();
    }
    FSourceItem = Item;
    SetControlsVisible({NewDataButton, EditDataButton, DeleteDataButton, ChartGrid1, ChartGridNavigator1, Panel4}, false);
    if (Item == dsManual) {
        ChartGrid1->SetSeries(FSeries);
        SetControlsVisible({ChartGrid1, ChartGridNavigator1}, true);
    } else if (Item == dsRandom) {
        Panel4->SetVisible(true);
        auto changing = RestoreOnExit(FChanging);
        FChanging = true;
        const int count = FSeries->SampleCount();
        ESamples->SetText(IntToStr(count != 0 ? count : FSeries->DefaultSampleCount()));
        CBSamplesDefault->SetChecked(count == 0);
        BApplyRandom->SetEnabled(false);
    } else if (Item == dsFunction) {
        FSourceEditor = new TTeeFuncEditor(this);
        FSourceEditor->SetAlign(alClient);
        CallFormShowHook(FSourceEditor);
        EmbedFormInPanel(FSourceEditor, PanelData, reinterpret_cast<intptr_t>(static_cast<TObject*>(FSeries)));
    }
}

void TFormTeeSeries::CBDataSourcestyleChange(TObject*)
{
    if (FChanging || FSeries == nullptr)
        return;
    if (auto* source = dynamic_cast<TBaseSourceEditor*>(FSourceEditor))
        source->BApply->SetEnabled(false);
    const int item = CBDataSourcestyle->ItemIndex();
    if (item == dsManual || item == dsRandom) {
        // A source object that belongs to this series goes with it.
        if (auto* own = dynamic_cast<TTeeSeriesSource*>(FSeries->DataSource()); own != nullptr && own->Series() == FSeries) {
            own->SetSeries(nullptr);
            delete own;
            FSeries->SetDataSource(nullptr);
            FSeries->Clear();
        }
        // A function and series sources would refill the series at their next change,
        // over what is typed in the grid or filled at random: the series lets them go
        // and keeps its present points as its own.
        if (FSeries->FunctionType() != nullptr || dynamic_cast<TChartSeries*>(FSeries->DataSource()) != nullptr) {
            FSeries->BeginUpdate();
            TScopeGuard endUpdate([s = FSeries] { s->EndUpdate(); });
            FSeries->SetDataSource(nullptr);
            FSeries->SetFunction(nullptr);
        }
    }
    if (item == dsManual)
        FSeries->SetManualData(true);
    ShowSourceEditor(item);
}

void TFormTeeSeries::ESamplesChange(TObject*)
{
    if (FChanging || FSeries == nullptr)
        return;
    int count = 0;
    if (!ReadInt(ESamples, count))
        count = 0;
    count = std::clamp(count, 0, MaxSampleValues);
    FSeries->SetSampleCount(count);
    auto changing = RestoreOnExit(FChanging);
    FChanging = true;
    CBSamplesDefault->SetChecked(count == 0);
    BApplyRandom->SetEnabled(true);
}

void TFormTeeSeries::BApplyRandomClick(TObject*)
{
    if (FSeries == nullptr)
        return;
    const int count = FSeries->SampleCount();
    FSeries->FillSampleValues(std::clamp(count != 0 ? count : FSeries->DefaultSampleCount(), 0, MaxSampleValues));
}

void TFormTeeSeries::Button3Click(TObject*)
{
    if (FSeries == nullptr)
        return;
    FSeries->Clear();
    CBDataSourcestyle->SetItemIndex(dsManual);
    CBDataSourcestyleChange(this);
}

void TFormTeeSeries::PaintBox1Click(TObject*)
{
    if (FSeries == nullptr)
        return;
    TColorDialog dialog(nullptr);
    dialog.SetColor(FSeries->SeriesColor());
    if (!dialog.Execute())
        return;
    FSeries->SetSeriesColor(dialog.Color());
    PaintBox1->Invalidate();
}

void TFormTeeSeries::HandleEvent(TTeeEvent* Event)
{
    auto* e = dynamic_cast<TTeeSeriesEvent*>(Event);
    if (e == nullptr || FDestroying)
        return;
    switch (e->Event) {
    case seRemove: {
        if (e->Series == FSeries && FSeries != nullptr) {
            // Nothing may keep the series that goes.
            FreeSourceEditor();
            FreeEmbedded();
            ChartGrid1->SetSeries(nullptr);
            FSeries = nullptr;
            FLastSeries = nullptr;
            PaintBox1->Series = nullptr;
        }
        const int index = CBSeries->Items()->IndexOfObject(e->Series);
        if (index >= 0) {
            auto changing = RestoreOnExit(FChanging);
            FChanging = true;
            CBSeries->Items()->Delete(index);
        }
        if (FSeries == nullptr) {
            CBSeries->SetItemIndex(-1);
            CBSeriesChange(this);
        }
        break;
    }
    case seAdd:
    case seSwap:
    case seChangeTitle:
        FillSeries(FChart);
        if (FSeries != nullptr && e->Event == seChangeTitle) {
            std::string className = GalleryNameOfSeries(FSeries);
            std::erase(className, '&');
            LabelSeriesClass->SetCaption(className + ": " + FSeries->Title());
        }
        break;
    case seChangeColor:
        PaintBox1->Invalidate();
        break;
    default:
        break;
    }
}

// ---- embedding -------------------------------------------------------------------------

bool EmbedEditorForm(TFormTeeSeries* Page, TForm* Form, TTabSheet* Tab, TObject* Tagged)
{
    if (Page->FEmbeddedCount >= TFormTeeSeries::MaxEmbeddedForms) {
        delete Form;
        return false;
    }
    Form->SetAlign(alClient);
    Page->FEmbedded[size_t(Page->FEmbeddedCount++)] = Form;
    CallFormShowHook(Form);
    EmbedFormInPanel(Form, Tab, reinterpret_cast<intptr_t>(Tagged));
    return true;
}

TForm* AddEditorPage(TFormTeeSeries* Page, const std::string& FormClassName, int Index, TChartSeries* Series,
                     const std::string& Caption)
{
    if (Page->FEmbeddedCount >= TFormTeeSeries::MaxEmbeddedForms || !FormClassRegistered(FormClassName))
        return nullptr;
    auto* tab = new TTabSheet(Page);
    tab->SetCaption(Caption);
    tab->SetPageControl(Page->PageSeries);
    tab->SetPageIndex(Index);
    BuildInto(tab, Page, {});
    TForm* form = CreateFormOfClass(FormClassName, Page);
    if (form == nullptr || !EmbedEditorForm(Page, form, tab, Series)) {
        delete tab;
        return nullptr;
    }
    return form;
}

void TeeEdiSeriInitialization()
{
    RegisterFormClass<TFormTeeSeries>("TFormTeeSeries");
}

void TeeEdiSeriFinalization()
{
    UnregisterFormClass("TFormTeeSeries");
}
