#include "TeeEditCha.h"

#include "ExportDialog.h"
#include "RizUridu.h"
#include "RurOzuvi.h"
#include "TeeConst.h"
#include "TeeEdiAxis.h"
#include "TeeEdiSeri.h"
#include "TeeEdiTitl.h"
#include "TeeEditTools.h"
#include "TeEngine/SeriesGroups.h"
#include "TeePenDlg.h"

#include "controls/CommonDialogs.h"
#include "controls/Cursors.h"
#include "controls/DragDrop.h"
#include "graphics/Bitmap.h"
#include "controls/FormBuilder.h"
#include "controls/InputQuery.h"
#include "controls/Registry.h"
#include "controls/Shell.h"
#include "system/ScopeGuard.h"
#include "system/SysUtils.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

constexpr int DefaultWidth = 414;
constexpr int DefaultHeight = 347;
constexpr int PageRoomWidth = 556;
constexpr int PageRoomHeight = 374;

intptr_t ObjectTag(TObject* Object)
{
    return reinterpret_cast<intptr_t>(Object);
}

std::map<std::string, TChartEditorPageFactory>& PageFactories()
{
    static std::map<std::string, TChartEditorPageFactory> factories;
    return factories;
}

const TChartEditorPageFactory* FindPageFactory(const std::string& ClassName)
{
    const auto it = PageFactories().find(LowerCase(ClassName));
    return it != PageFactories().end() ? &it->second : nullptr;
}

// Width and Height grown to what the window's pages need now.
void AtLeastContents(TWinControl* Window, int& Width, int& Height)
{
    int needWidth = 0, needHeight = 0;
    if (ContentsMinimumSize(Window, needWidth, needHeight)) {
        Width = std::max(Width, needWidth);
        Height = std::max(Height, needHeight);
    }
}

// Widens or heightens the window to the least size its contents need, if it is smaller.
void GrowToContents(TForm* Form)
{
    int width = Form->Width(), height = Form->Height();
    AtLeastContents(Form, width, height);
    if (width != Form->Width() || height != Form->Height())
        Form->SetBounds(Form->Left(), Form->Top(), width, height);
}

} // namespace

TChartEditForm::TChartEditForm(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "ChartEditForm");
    BuildForm(this, DefaultWidth, DefaultHeight, {
        Growing(Columns({Column({Growing(Line({Ctl(Tree, "Tree"), Ctl(TreeSplitter, "TreeSplitter")}))}), Growing(Column({
        Growing(Pages(MainPage, "MainPage", {
            Page(TabChart, "TabChart", "Chart", {
                Growing(Pages(SubPage, "SubPage", {
                    Page(TabSeriesList, "TabSeriesList", "Series", {
                        Line({Ctl(BAddGroup, "BAddGroup", "+", 24), Ctl(BDeleteGroup, "BDeleteGroup", "-", 24),
                              Ctl(BRenameGroup, "BRenameGroup", "...", 24), Ctl(CBNames, "CBNames", "&View Series Names"),
                              Stretch()}),
                        Growing(Columns({
                            Column({Panel(PanelGroups, "PanelGroups", {Ctl(Groups, "Groups")}),
                                    Growing(Ctl(LBSeries, "LBSeries"))}),
                            Column({Line({Ctl(BMoveUP, "BMoveUP", "", 24), Ctl(BMoveDown, "BMoveDown", "", 24)}),
                                    Ctl(BAddSeries, "BAddSeries", "&Add..."), Ctl(BDeleteSeries, "BDeleteSeries", "&Delete"),
                                    Ctl(BRenameSeries, "BRenameSeries", "&Title..."), Ctl(BCloneSeries, "BCloneSeries", "C&lone"),
                                    Ctl(BChangeTypeSeries, "BChangeTypeSeries", "&Change..."), Stretch(),
                                    Ctl(ButtonAbout, "ButtonAbout", TeeMsg_AboutLibrary)}),
                        })),
                    }),
                    Page(TabGeneral, "TabGeneral", "General", {}),
                    Page(TabAxis, "TabAxis", "Axis", {}),
                    Page(TabTitle, "TabTitle", "Titles", {}),
                    Page(TabLegend, "TabLegend", "Legend", {}),
                    Page(TabPanel, "TabPanel", "Panel", {}),
                    Page(TabPaging, "TabPaging", "Paging", {}),
                    Page(TabWalls, "TabWalls", "Walls", {}),
                    Page(Tab3D, "Tab3D", "3D", {}),
                })),
            }),
            Page(TabSeries, "TabSeries", "Series", {}),
            Page(TabData, "TabData", "Data", {
                Line({Ctl(ChartGridNavigator1, "ChartGridNavigator1", "", 180), Stretch()}),
                Line({Ctl(SBGridText, "SBGridText", "Labels"),
                      Ctl(SBGridCol, "SBGridCol", "Colors"), Ctl(SBGrid3D, "SBGrid3D", "XYZ"),
                      Ctl(SBGridX, "SBGridX", "X"), Stretch()}),
                Growing(Ctl(ChartGrid1, "ChartGrid1")),
            }),
            Page(TabTools, "TabTools", "Tools", {}),
            Page(TabExport, "TabExport", "Export", {}),
            Page(TabPrint, "TabPrint", "Print", {}),
        }))}))})),
        Line({Ctl(LabelWWW, "LabelWWW", ChartLibraryWebAddress), Stretch(), Ctl(ButtonHelp, "ButtonHelp", "&Help..."),
              Ctl(BClose, "BClose", "Close")}),
    });
    FMainTabs = {TabChart, TabSeries, TabData, TabTools, TabExport, TabPrint};
    SetHelpContext(726);
    for (const auto& [tab, context] : std::initializer_list<std::pair<TTabSheet*, int>>{
             {TabData, 1473}, {TabTitle, 527}, {TabPanel, 371}, {TabPaging, 364}, {TabWalls, 347}})
        tab->SetHelpContext(context);
    // The room of the largest page (the series page with the marks' style), so that the
    // window keeps its size while the pages are visited.
    SetMinimumSize(TabSeries, PageRoomWidth, PageRoomHeight);
    SetMinimumSize(LBSeries, 120, 100);
    SetMinimumSize(ChartGrid1, 160, 100);
    LoadArrowGlyphs(BMoveUP, BMoveDown);
    LabelWWW->SetFontColor(clBlue);
    LabelWWW->SetFontStyle(fsUnderline);
    BClose->SetDefault(true);
    BClose->SetCancel(true);
    BDeleteGroup->SetEnabled(false);
    BRenameGroup->SetEnabled(false);
    PanelGroups->Hide();
    Tree->Hide();
    TreeSplitter->Hide();
    TreeSplitter->SetControl(Tree);
    TreeSplitter->OnMoved = [this](TObject*) { FTreeWidth = Tree->Width(); };
    UpdateLayout(this);
    Tree->OnChange = [this](TObject* s, TTreeNode* node) { TreeChange(s, node); };
    Tree->OnEditing = [this](TObject* s, TTreeNode* node, bool& allow) { TreeEditing(s, node, allow); };
    Tree->OnEdited = [this](TObject* s, TTreeNode* node, std::string& text) { TreeEdited(s, node, text); };
    SBGridText->SetHint("Show labels");
    SBGridCol->SetHint("Show colors");
    SBGrid3D->SetHint("XYZ series");
    SBGridX->SetHint("Show X values");
    SBGridText->SetChecked(true);
    ChartGridNavigator1->SetGrid(ChartGrid1);
    PopupData = new TPopupMenu(this);
    PopupData->SetName("PopupData");
    const auto item = [this](TMenuItem*& Item, const char* Name, const char* Caption,
                             void (TChartEditForm::*Handler)(TObject*)) {
        Item = new TMenuItem(this);
        Item->SetName(Name);
        Item->SetCaption(Caption);
        if (Handler != nullptr)
            Item->OnClick = [this, Handler](TObject* s) { (this->*Handler)(s); };
        PopupData->Items()->Add(Item);
    };
    item(EditColor1, "EditColor1", "&Edit Color...", &TChartEditForm::EditColor1Click);
    item(DefaultColor1, "DefaultColor1", "Default &Color", &TChartEditForm::DefaultColor1Click);
    item(Makenullpoint1, "Makenullpoint1", "Make &null point", &TChartEditForm::Makenullpoint1Click);
    item(N1, "N1", "-", nullptr);
    item(Insertrow1, "Insertrow1", "&Append row", &TChartEditForm::Insertrow1Click);
    item(Deleterow1, "Deleterow1", "&Delete row", &TChartEditForm::Deleterow1Click);
    item(extfont1, "extfont1", "&Font...", &TChartEditForm::extfont1Click);
    PopupData->OnPopup = [this](TObject* s) { PopupDataPopup(s); };
    PopupData->BindTo(ChartGrid1);

    MainPage->OnChange = [this](TObject* s) { MainPageChange(s); };
    MainPage->OnChanging = [this](TObject* s, bool& allow) { MainPageChanging(s, allow); };
    SubPage->OnChange = [this](TObject* s) { SubPageChange(s); };
    SubPage->OnChanging = [this](TObject* s, bool& allow) { MainPageChanging(s, allow); };
    BClose->OnClick = [this](TObject* s) { BCloseClick(s); };
    BMoveUP->OnClick = [this](TObject* s) { BMoveUPClick(s); };
    BMoveDown->OnClick = [this](TObject* s) { BMoveDownClick(s); };
    BAddSeries->OnClick = [this](TObject* s) { BAddSeriesClick(s); };
    BDeleteSeries->OnClick = [this](TObject* s) { BDeleteSeriesClick(s); };
    BRenameSeries->OnClick = [this](TObject* s) { BRenameSeriesClick(s); };
    BCloneSeries->OnClick = [this](TObject* s) { BCloneSeriesClick(s); };
    BChangeTypeSeries->OnClick = [this](TObject* s) { BChangeTypeSeriesClick(s); };
    LBSeries->OnDblClickSeries = [this](TObject* s, int i) { LBSeriesEditSeries(s, i); };
    LBSeries->OnRefresh = [this](TObject* s) { LBSeriesRefreshButtons(s); };
    CBNames->OnClick = [this](TObject* s) { CBNamesClick(s); };
    Groups->OnClick = [this](TObject* s) { GroupsClick(s); };
    Groups->OnClickCheck = [this](TObject* s) { GroupsClickCheck(s); };
    SetDragSource(LBSeries, true);
    SetDropTarget(
        Groups, [this](TObject* s, TObject* src, int x, int y, bool& accept) { GroupsDragOver(s, src, x, y, accept); },
        [this](TObject* s, TObject* src, int x, int y) { GroupsDragDrop(s, src, x, y); });
    BAddGroup->OnClick = [this](TObject* s) { BAddGroupClick(s); };
    BRenameGroup->OnClick = [this](TObject* s) { BRenameGroupClick(s); };
    BDeleteGroup->OnClick = [this](TObject* s) { BDeleteGroupClick(s); };
    SBGridText->OnClick = [this](TObject* s) { SBGridTextClick(s); };
    SBGridCol->OnClick = [this](TObject* s) { SBGridColClick(s); };
    SBGrid3D->OnClick = [this](TObject* s) { SBGrid3DClick(s); };
    SBGridX->OnClick = [this](TObject* s) { SBGridXClick(s); };
    LabelWWW->OnClick = [this](TObject* s) { LabelWWWClick(s); };
    ButtonHelp->OnClick = [this](TObject* s) { ButtonHelpClick(s); };
    ButtonAbout->OnClick = [this](TObject*) { TeeShowAboutBox(this); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnCloseQuery = [this](TObject* s, bool& can) { FormCloseQuery(s, can); };

    // The default size at 96 dots per inch, centred on the screen.
    SetPosition(poScreenCenter);
    SetBounds(Left(), Top(), StrToIntDef(TeeMsg_DefaultEditorWidth, DefaultWidth),
              StrToIntDef(TeeMsg_DefaultEditorHeight, DefaultHeight));
    SetCaption("");
    // The window opens as large as its largest page needs.
    GrowToContents(this);
    FOpenedWidth = Width();
    FOpenedHeight = Height();
    MainPage->SetActivePage(TabChart);
    SubPage->SetActivePage(TabSeriesList);
    FRememberPosition = ReadEditorBool("RememberPosition", true);
    FRememberSize = ReadEditorBool("RememberSize", true);
    FTreeMode = ReadEditorBool("TreeMode", false);
    AttachChart(nullptr);
    DoCreate();
}

TChartEditForm::~TChartEditForm()
{
    FormDestroy();
}

void TChartEditForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TForm::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FChart)
        FChart = nullptr;
    std::erase_if(FPages, [AComponent](const auto& page) { return page.second == AComponent; });
    if (AComponent == SeriesToOpen)
        SeriesToOpen = nullptr;
    if (AComponent == ToolToOpen)
        ToolToOpen = nullptr;
}

void TChartEditForm::AttachChart(TCustomChart* Value)
{
    if (FChart != nullptr)
        FChart->RemoveFreeNotification(this);
    FChart = Value;
    if (FChart != nullptr)
        FChart->FreeNotification(this);
    LBSeries->SetChart(FChart);
    MainPage->SetEnabled(FChart != nullptr);
    SubPage->SetEnabled(FChart != nullptr);
    HideTabs();
    if (FChart == nullptr || !(FRememberPosition || FRememberSize))
        return;
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(TeeEditorRegistryKey))
        return;
    const auto stored = [&registry](const char* name, int& value) {
        if (!registry.ValueExists(name))
            return false;
        try {
            value = registry.ReadInteger(name);
            return true;
        } catch (const ERegistryException&) {
            return false;
        }
    };
    int left = Left(), top = Top(), width = Width(), height = Height(), value = 0;
    if (FRememberPosition && stored("Left", value)) {
        left = std::max(0, value);
        if (stored("Top", value))
            top = std::max(0, value);
        SetPosition(poDesigned);
    }
    if (FRememberSize) {
        if (stored("Width", value))
            width = std::max(100, value);
        if (stored("Height", value))
            height = std::max(100, value);
        if (stored("TreeWidth", value))
            FTreeWidth = std::max(10, value);
    }
    // A stored size below what the pages need opens the window as small as they allow.
    AtLeastContents(this, width, height);
    // A position stored on a larger screen (or another screen layout) is moved so that the
    // whole window stays on this one, its top-left corner first when it is the larger.
    left = std::max(0, std::min(left, Screen()->Width() - width));
    top = std::max(0, std::min(top, Screen()->Height() - height));
    SetBounds(left, top, width, height);
    FOpenedWidth = Width();
    FOpenedHeight = Height();
}

void TChartEditForm::SetupHelp()
{
    FHelpFile.clear();
    if (FOptions.Test(ceHelp)) {
        const std::string file = FChart != nullptr && FChart->IsDesigning() ? "RurEvido7.hlp" : "ZodEded7.hlp";
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        // Help exists only where the help folder names the file; a missing or unreadable
        // entry simply leaves the window without help.
        if (registry.OpenKeyReadOnly("SOFTWARE\\Microsoft\\Windows\\Help") && registry.ValueExists(file)) {
            try {
                const std::string folder = registry.ReadString(file);
                if (!folder.empty())
                    FHelpFile = folder + "\\" + file;
            } catch (const ERegistryException&) {
            }
        }
    }
    // The button is offered whenever the options ask for help; without a help file
    // there is nothing it could open.
    ButtonHelp->SetVisible(FOptions.Test(ceHelp));
    ButtonHelp->SetEnabled(!FHelpFile.empty());
}

void TChartEditForm::ButtonHelpClick(TObject*)
{
    // The program installs no help viewer; without a help file there is nothing to open.
    if (FHelpFile.empty())
        return;
    ShellOpenDocument(FHelpFile);
}

void TChartEditForm::LabelWWWClick(TObject*)
{
    OpenURL(this, LabelWWW->Caption());
}

// ---- pages ----------------------------------------------------------------------------

std::string TChartEditForm::PageClassName(int Page)
{
    switch (Page) {
    case cetGeneral: return "TFormTeeGeneral";
    case cetAxis: return "TFormTeeAxis";
    case cetTitles: return "TFormTeeTitle";
    case cetLegend: return "TFormTeeLegend";
    case cetPanel: return "TFormTeePanel";
    case cetPaging: return "TFormTeePage";
    case cetWalls: return "TFormTeeWall";
    case cet3D: return "TFormTee3D";
    case cetSeries: return "TFormTeeSeries";
    case cetTools: return "TFormTeeTools";
    case cetExport: return "TTeeExportForm";
    case cetPrint: return "TChartPreview";
    default: return {};
    }
}

TTabSheet* TChartEditForm::TabOfPage(int Page) const
{
    switch (Page) {
    case cetSeriesList: return TabSeriesList;
    case cetGeneral: return TabGeneral;
    case cetAxis: return TabAxis;
    case cetTitles: return TabTitle;
    case cetLegend: return TabLegend;
    case cetPanel: return TabPanel;
    case cetPaging: return TabPaging;
    case cetWalls: return TabWalls;
    case cet3D: return Tab3D;
    case cetSeries: return TabSeries;
    case cetData: return TabData;
    case cetExport: return TabExport;
    case cetTools: return TabTools;
    case cetPrint: return TabPrint;
    default: return nullptr;
    }
}

int TChartEditForm::PageOfTab(const TTabSheet* Tab) const
{
    for (int page = 0; page <= cetPrint; ++page)
        if (TabOfPage(page) == Tab && page != cetSeriesGeneral && page != cetSeriesMarks)
            return page;
    return -1;
}

bool TChartEditForm::TabOffered(TTabSheet* Tab) const
{
    const int page = PageOfTab(Tab);
    if (page < 0 || HiddenPages.count(page) != 0)
        return false;
    const std::string className = PageClassName(page);
    return className.empty() || FormClassRegistered(className);
}

TForm* TChartEditForm::PageForm(TTabSheet* Tab) const
{
    for (const auto& page : FPages)
        if (page.first == Tab)
            return page.second;
    return nullptr;
}

void TChartEditForm::CreatePage(TTabSheet* Tab)
{
    if (FChart == nullptr || PageForm(Tab) != nullptr)
        return;
    const int page = PageOfTab(Tab);
    if (Tab == TabData) {
        if (TChartSeries* series = LBSeries->SelectedSeries(); series != nullptr && LBSeries->SelCount() == 1)
            ChartGrid1->SetSeries(series);
        else
            ChartGrid1->SetChart(FChart);
        // The X button shows whether X values are shown: by default they are for a
        // series with X values of its own.
        const auto showing = RestoreOnExit(FShowingGridState);
        FShowingGridState = true;
        SBGridX->SetChecked(ChartGrid1->ShowsXColumn());
        return;
    }
    const std::string className = PageClassName(page);
    if (className.empty())
        return;
    TForm* form = nullptr;
    intptr_t tag = ObjectTag(FChart);
    if (const TChartEditorPageFactory* factory = FindPageFactory(className))
        form = (*factory)(this, FChart, LBSeries);
    else
        form = CreateFormOfClass(className, this);
    if (form == nullptr)
        return;
    if (page == cetSeries) {
        // The series page follows the series list box, whose selection is the series.
        tag = ObjectTag(LBSeries);
        FSeriesPageSeries = LBSeries->SelectedSeries();
    }
    FPages.emplace_back(Tab, form);
    form->FreeNotification(this);
    CallFormShowHook(form);
    form->SetAlign(alClient);
    EmbedFormInPanel(form, Tab, tag);
    // The window is made to fit the largest page of this library at once; a page another
    // unit adds that needs more room widens it.
    GrowToContents(this);
}

void TChartEditForm::FreeSeriesPage()
{
    for (auto it = FPages.begin(); it != FPages.end(); ++it)
        if (it->first == TabSeries) {
            TForm* form = it->second;
            FPages.erase(it);
            delete form;
            break;
        }
    FSeriesPageSeries = nullptr;
}

void TChartEditForm::MainPageChange(TObject*)
{
    TTabSheet* tab = MainPage->ActivePage();
    if (tab == TabChart)
        SubPageChange(SubPage);
    else if (tab == TabData)
        CreatePage(TabData);
    else {
        if (tab == TabSeries && SeriesPage() != nullptr && FSeriesPageSeries != LBSeries->SelectedSeries())
            FreeSeriesPage();
        CreatePage(tab);
    }
}

void TChartEditForm::SubPageChange(TObject*)
{
    CreatePage(SubPage->ActivePage());
}

void TChartEditForm::MainPageChanging(TObject*, bool& AllowChange)
{
    // The series page may hold changes that it must accept first.
    if (TForm* page = SeriesPage(); page != nullptr && MainPage->ActivePage() == TabSeries)
        AllowChange = page->CloseQuery();
}

void TChartEditForm::ActivateTab(TTabSheet* Tab)
{
    if (Tab == nullptr)
        return;
    if (Tab->PageControl() == SubPage) {
        MainPage->SetActivePage(TabChart);
        SubPage->SetActivePage(Tab);
        SubPageChange(SubPage);
    } else {
        MainPage->SetActivePage(Tab);
        MainPageChange(MainPage);
    }
}

void TChartEditForm::HideTabs()
{
    bool anySub = false;
    for (int i = 0; i < SubPage->PageCount(); ++i) {
        TTabSheet* tab = SubPage->Pages(i);
        tab->SetTabVisible(TabOffered(tab));
        anySub = anySub || tab->TabVisible();
    }
    for (TTabSheet* tab : FMainTabs)
        if (tab != TabChart)
            tab->SetTabVisible(TabOffered(tab));
    TabChart->SetTabVisible(anySub);
}

void TChartEditForm::OpenStartPage()
{
    switch (FStartPage) {
    case cetSeriesGeneral:
    case cetSeriesMarks:
    case cetSeries:
        // The series page opens on the selected series (the first when none is), the
        // inner start pages on their tab of the series page.
        if (LBSeries->ItemIndex() < 0 && LBSeries->Items()->Count() > 0)
            LBSeries->SelectSeries(0);
        if (!TabSeries->TabVisible())
            return;
        ActivateTab(TabSeries);
        if (auto* page = dynamic_cast<TFormTeeSeries*>(SeriesPage());
            page != nullptr && FStartPage != cetSeries && LBSeries->Items()->Count() > 0)
            page->PageSeries->SelectPage(FStartPage == cetSeriesGeneral ? page->TabGeneral : page->TabMarks);
        return;
    case cetData: ActivateTab(TabData); return;
    case cetExport: ActivateTab(TabExport); return;
    case cetTools: ActivateTab(TabTools); return;
    case cetPrint: ActivateTab(TabPrint); return;
    default: break;
    }
    if (FStartPage < 0 || FStartPage > cet3D)
        return;
    TTabSheet* chosen = nullptr;
    for (int page = FStartPage; page <= cet3D && chosen == nullptr; ++page)
        if (TabOfPage(page)->TabVisible())
            chosen = TabOfPage(page);
    for (int page = FStartPage - 1; page >= 0 && chosen == nullptr; --page)
        if (TabOfPage(page)->TabVisible())
            chosen = TabOfPage(page);
    for (TTabSheet* tab : {TabData, TabTools, TabExport, TabPrint})
        if (chosen == nullptr && tab->TabVisible())
            chosen = tab;
    if (chosen != nullptr)
        ActivateTab(chosen);
}

void TChartEditForm::EditSeries(TChartSeries* Series)
{
    const int index = LBSeries->Items()->IndexOfObject(Series);
    if (index < 0)
        return;
    LBSeries->SetItemIndex(index);
    LBSeriesRefreshButtons(LBSeries);
    if (TabSeries->TabVisible())
        ActivateTab(TabSeries);
}

// ---- showing and closing ------------------------------------------------------------------

void TChartEditForm::FormShow(TObject*)
{
    SetupHelp();
    if (Caption().empty() && FChart != nullptr)
        SetCaption(Format(TeeMsg_Editing, {FChart->Name()}));
    HideTabs();
    LBSeries->FillSeriesList();
    RunEditorHooks(this);
    if (FTreeMode)
        BuildTree();
    if (FStartPage != -1)
        OpenStartPage();
    if (FOptions.Test(ceGroups)) {
        PanelGroups->Show();
        FillGroups();
    }
    if (SeriesToOpen != nullptr) {
        EditSeries(SeriesToOpen);
    } else if (ToolToOpen != nullptr && TabTools->TabVisible()) {
        ActivateTab(TabTools);
    } else if (FStartPage == -1 && LBSeries->Items()->Count() > 0) {
        LBSeries->SelectSeries(0);
    }
    if (SeriesToOpen == nullptr && LBSeries->Items()->Count() > 0 && LBSeries->ItemIndex() < 0)
        LBSeries->SelectSeries(0);
    LBSeriesRefreshButtons(LBSeries);
    if (Tree->Visible()) {
        // The tree shows the page the window opened on.
        TTabSheet* active = MainPage->ActivePage() == TabChart ? SubPage->ActivePage() : MainPage->ActivePage();
        TObject* shown = active == TabSeries ? static_cast<TObject*>(LBSeries->SelectedSeries()) : active;
        if (TTreeNode* node = shown != nullptr ? Tree->FindData(shown) : nullptr; node != nullptr && node != Tree->Selected())
            Tree->SetSelected(node);
    }
    // The tree and the page opened may need more room than the window had: it opens that
    // large now, as the size it was given, rather than when the window system gets to it
    // (on a real display after this handler), which closing would take for the user's.
    GrowToContents(this);
    CallFormShowHook(this);
    FOpenedWidth = Width();
    FOpenedHeight = Height();
}

void TChartEditForm::FormCloseQuery(TObject*, bool& CanClose)
{
    if (TForm* page = SeriesPage())
        CanClose = page->CloseQuery();
}

void TChartEditForm::FormDestroy()
{
    if (FClosing)
        return;
    FClosing = true;
    if (FChart == nullptr || !(FRememberPosition || FRememberSize))
        return;
    TRegistry registry;
    if (!registry.OpenKey(TeeEditorRegistryKey, true))
        return;
    try {
        if (FRememberPosition) {
            registry.WriteInteger("Left", Left());
            registry.WriteInteger("Top", Top());
        }
        // The size is written only when the user resized the window; the width stored
        // is the window's without the tree.
        if (FRememberSize) {
            if (Width() != FOpenedWidth || Height() != FOpenedHeight) {
                registry.WriteInteger("Width", Width() - (Tree->Visible() ? FTreeWidth + TreeSplitter->Width() : 0));
                registry.WriteInteger("Height", Height());
            }
            if (Tree->Visible())
                registry.WriteInteger("TreeWidth", FTreeWidth);
        }
    } catch (const ERegistryException&) {
    }
}

void TChartEditForm::BCloseClick(TObject*)
{
    SetModalResult(mrCancel);
    if (!Modal())
        Close();
}

// ---- tree mode ----------------------------------------------------------------------------

void TChartEditForm::FillSeriesNodes()
{
    while (FSeriesNode->Count() > 0)
        Tree->Delete(FSeriesNode->Item(FSeriesNode->Count() - 1));
    for (int i = 0; i < LBSeries->Items()->Count(); ++i)
        Tree->AddChild(FSeriesNode, LBSeries->Items()->Strings(i), LBSeries->SeriesAt(i));
}

void TChartEditForm::BuildTree()
{
    if (!Tree->Visible()) {
        // The window grows by the tree, once: showing the tree in a window already on
        // the screen may have widened it to the layout's least width meanwhile. The tab
        // bars give way to the tree's nodes.
        const int width = Width();
        SetFixedWidth(Tree, FTreeWidth);
        Tree->Show();
        TreeSplitter->Show();
        SetBounds(Left(), Top(), width + FTreeWidth + TreeSplitter->Width(), Height());
        UpdateLayout(this);
        MainPage->SetTabBarVisible(false);
        SubPage->SetTabBarVisible(false);
        // The help button goes below the tree.
        MoveToLineStart(ButtonHelp, 16);
        // A window at its least width needs more than the tree's own width: the spacing
        // beside the tree and its splitter. It takes that room now, so that the size the
        // window opened with is the size it keeps unless the user resizes it.
        GrowToContents(this);
    }
    FSeriesNode = nullptr;
    Tree->Clear();
    if (FChart == nullptr)
        return;
    FSeriesNode = Tree->AddChild(nullptr, TabSeriesList->Caption(), TabSeriesList);
    FillSeriesNodes();
    TTreeNode* chartNode = Tree->AddChild(nullptr, TabChart->Caption(), TabChart);
    for (int i = 1; i < SubPage->PageCount(); ++i) {
        TTabSheet* tab = SubPage->Pages(i);
        if (!tab->TabVisible())
            continue;
        TTreeNode* node = Tree->AddChild(chartNode, tab->Caption(), tab);
        if (tab == TabAxis) {
            TStringList names;
            TFormTeeAxis::FillAxesList(FChart, &names, true);
            for (int a = 0; a < names.Count(); ++a)
                Tree->AddChild(node, names.Strings(a), TFormTeeAxis::AxisOfIndex(FChart, a));
        } else if (tab == TabTitle) {
            Tree->AddChild(node, "Title", FChart->Title());
            Tree->AddChild(node, "SubTitle", FChart->SubTitle());
            Tree->AddChild(node, "Footer", FChart->Foot());
            Tree->AddChild(node, "SubFoot", FChart->SubFoot());
        }
    }
    chartNode->SetExpanded(true);
    for (TTabSheet* tab : {TabData, TabTools, TabExport, TabPrint}) {
        if (!tab->TabVisible())
            continue;
        TTreeNode* node = Tree->AddChild(nullptr, tab->Caption(), tab);
        if (tab == TabTools)
            for (TTeeCustomTool* tool : FChart->Tools()->Items())
                Tree->AddChild(node, tool->Description(), tool);
    }
    Tree->SetSelected(FSeriesNode);
}

void TChartEditForm::TreeChange(TObject*, TTreeNode* Node)
{
    if (Node == nullptr || FChart == nullptr)
        return;
    // A node's kind comes from its parent; its object is used only while the chart still
    // has it (an axis or tool may have been freed on its page since the tree was built).
    TObject* data = Node->Data();
    TTreeNode* parent = Node->Parent();
    TObject* parentData = parent != nullptr ? parent->Data() : nullptr;
    if (parent != nullptr && parent == FSeriesNode) {
        if (LBSeries->Items()->IndexOfObject(data) >= 0)
            EditSeries(static_cast<TChartSeries*>(data));
    } else if (parentData == TabAxis) {
        ActivateTab(TabAxis);
        auto* page = dynamic_cast<TFormTeeAxis*>(PageForm(TabAxis));
        for (int i = 0; page != nullptr && i < FChart->Axes()->Count(); ++i)
            if (TFormTeeAxis::AxisOfIndex(FChart, i) == data)
                page->SelectAxis(static_cast<TChartAxis*>(data));
    } else if (parentData == TabTitle) {
        ActivateTab(TabTitle);
        if (auto* page = dynamic_cast<TFormTeeTitle*>(PageForm(TabTitle)))
            page->SelectTitle(static_cast<TChartTitle*>(data));
    } else if (parentData == TabTools) {
        ActivateTab(TabTools);
        const auto& tools = FChart->Tools()->Items();
        auto* page = dynamic_cast<TFormTeeTools*>(PageForm(TabTools));
        if (page != nullptr && std::find(tools.begin(), tools.end(), data) != tools.end())
            page->SelectTool(static_cast<TTeeCustomTool*>(data));
    } else if (auto* tab = static_cast<TTabSheet*>(data)) {
        // "Chart" stands for its first sub-page.
        if (tab == TabChart && Node->Count() > 0)
            tab = static_cast<TTabSheet*>(Node->Item(0)->Data());
        ActivateTab(tab);
    }
}

void TChartEditForm::TreeEditing(TObject*, TTreeNode* Node, bool& AllowEdit)
{
    AllowEdit = Node != nullptr && Node->Parent() == FSeriesNode && FSeriesNode != nullptr;
}

void TChartEditForm::TreeEdited(TObject*, TTreeNode* Node, std::string& S)
{
    if (Node == nullptr || Node->Parent() != FSeriesNode || LBSeries->Items()->IndexOfObject(Node->Data()) < 0)
        return;
    auto* series = static_cast<TChartSeries*>(Node->Data());
    series->SetTitle(S);
    LBSeries->FillSeriesList(series);
    const int index = LBSeries->Items()->IndexOfObject(series);
    if (index >= 0)
        S = LBSeries->Items()->Strings(index);
}

// ---- series list ------------------------------------------------------------------------

void TChartEditForm::LBSeriesRefreshButtons(TObject*)
{
    TChartSeries* series = LBSeries->SelectedSeries();
    const bool selected = LBSeries->ItemIndex() != -1;
    const int selCount = LBSeries->SelCount();
    const bool inherited = series != nullptr && series->ComponentState().Test(csAncestor);
    BAddSeries->SetEnabled(FOptions.Test(ceAdd));
    BDeleteSeries->SetEnabled(selected && FOptions.Test(ceDelete) && !inherited);
    BRenameSeries->SetEnabled(selected && selCount <= 1 && FOptions.Test(ceTitle));
    BChangeTypeSeries->SetEnabled(selected && FOptions.Test(ceChange) && !inherited);
    BCloneSeries->SetEnabled(selected && selCount <= 1 && FOptions.Test(ceClone));
    const int index = LBSeries->ItemIndex();
    if (selCount <= 1) {
        BMoveUP->SetEnabled(index > 0);
        BMoveDown->SetEnabled(index >= 0 && index < LBSeries->Items()->Count() - 1);
    } else {
        BMoveUP->SetEnabled(false);
        BMoveDown->SetEnabled(false);
    }
    if (FSeriesNode != nullptr && FSeriesNode->Count() != LBSeries->Items()->Count())
        FillSeriesNodes();
}

void TChartEditForm::LBSeriesEditSeries(TObject*, int Index)
{
    TChartSeries* series = LBSeries->SeriesAt(Index);
    if (TTreeNode* node = Tree->Visible() ? Tree->FindData(series) : nullptr)
        Tree->SetSelected(node);
    else
        EditSeries(series);
}

void TChartEditForm::BMoveUPClick(TObject*)
{
    LBSeries->MoveSeriesUp();
    LBSeriesRefreshButtons(LBSeries);
}

void TChartEditForm::BMoveDownClick(TObject*)
{
    LBSeries->MoveSeriesDown();
    LBSeriesRefreshButtons(LBSeries);
}

void TChartEditForm::BAddSeriesClick(TObject*)
{
    const int before = LBSeries->Items()->Count();
    LBSeries->AddSeriesFromGallery();
    LBSeriesRefreshButtons(LBSeries);
    if (LBSeries->Items()->Count() > before)
        EditSeries(LBSeries->SelectedSeries());
}

void TChartEditForm::BDeleteSeriesClick(TObject*)
{
    FreeSeriesPage();
    LBSeries->DeleteSelectedSeries();
    LBSeriesRefreshButtons(LBSeries);
}

void TChartEditForm::BRenameSeriesClick(TObject*)
{
    LBSeries->RenameSelectedSeries();
    LBSeriesRefreshButtons(LBSeries);
    const int index = LBSeries->ItemIndex();
    if (TTreeNode* node = Tree->Visible() && index >= 0 ? Tree->FindData(LBSeries->SeriesAt(index)) : nullptr)
        node->SetText(LBSeries->Items()->Strings(index));
}

void TChartEditForm::BCloneSeriesClick(TObject*)
{
    LBSeries->CloneSelectedSeries();
    LBSeriesRefreshButtons(LBSeries);
}

void TChartEditForm::BChangeTypeSeriesClick(TObject*)
{
    FreeSeriesPage();
    LBSeries->ChangeSelectedSeriesType();
    LBSeriesRefreshButtons(LBSeries);
}

void TChartEditForm::CBNamesClick(TObject*)
{
    LBSeries->SetShowSeriesNames(CBNames->Checked());
    BRenameSeries->SetCaption(CBNames->Checked() ? "&Name..." : "&Title...");
}

// ---- data tab ---------------------------------------------------------------------------

void TChartEditForm::SBGridTextClick(TObject*)
{
    ChartGrid1->SetShowLabels(SBGridText->Checked());
}

void TChartEditForm::SBGridColClick(TObject*)
{
    ChartGrid1->SetShowColors(SBGridCol->Checked());
}

void TChartEditForm::SBGrid3DClick(TObject*)
{
    ChartGrid1->SetMatrixLayout(SBGrid3D->Checked());
}

void TChartEditForm::SBGridXClick(TObject*)
{
    if (FShowingGridState)
        return;
    ChartGrid1->SetShowXValues(SBGridX->Checked() ? cgsYes : cgsNo);
}

void TChartEditForm::PopupDataPopup(TObject*)
{
    TChartSeries* series = nullptr;
    int index = 0;
    const bool color = ChartGrid1->CurrentColorCell(series, index);
    TColor stored = clDefault;
    if (color && series->Colors() != nullptr && index < static_cast<int>(series->Colors()->size()))
        stored = (*series->Colors())[static_cast<size_t>(index)];
    EditColor1->SetVisible(color);
    DefaultColor1->SetVisible(color && stored != clDefault);
    Makenullpoint1->SetVisible(color && stored != clNone);
    N1->SetVisible(color);
    // Rows can be appended and deleted only where the grid can act on them.
    Insertrow1->SetEnabled(ChartGrid1->CanInsertPoint());
    Deleterow1->SetEnabled(ChartGrid1->CanDeletePoint());
}

void TChartEditForm::EditColor1Click(TObject*)
{
    ChartGrid1->PickPointColor();
}

void TChartEditForm::DefaultColor1Click(TObject*)
{
    ChartGrid1->SetPointColor(clDefault);
}

void TChartEditForm::Makenullpoint1Click(TObject*)
{
    ChartGrid1->SetPointColor(clNone);
}

void TChartEditForm::Insertrow1Click(TObject*)
{
    ChartGrid1->InsertPoint();
}

void TChartEditForm::Deleterow1Click(TObject*)
{
    ChartGrid1->DeletePoint();
}

void TChartEditForm::extfont1Click(TObject*)
{
    TFontDialog dialog(this);
    dialog.Font()->SetName(ChartGrid1->FontName());
    dialog.Font()->SetSize(ChartGrid1->FontSize());
    dialog.Font()->SetStyle(ChartGrid1->FontStyle());
    dialog.Font()->SetColor(ChartGrid1->FontColor());
    if (!dialog.Execute())
        return;
    ChartGrid1->SetFontName(dialog.Font()->Name());
    ChartGrid1->SetFontSize(dialog.Font()->Size());
    ChartGrid1->SetFontStyle(dialog.Font()->Style());
    ChartGrid1->SetFontColor(dialog.Font()->Color());
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(dialog.Font());
    ChartGrid1->SetDefaultRowHeight(measure.Canvas()->TextHeight("W"));
}

// ---- series groups ------------------------------------------------------------------------

TSeriesGroup* TChartEditForm::GroupOfItem(int Index) const
{
    if (Index < 0 || Index >= Groups->Items()->Count())
        return nullptr;
    return static_cast<TSeriesGroup*>(Groups->Items()->GetObject(Index));
}

void TChartEditForm::FillGroups()
{
    Groups->Items()->Clear();
    if (FChart == nullptr)
        return;
    const auto checkOf = [](TSeriesGroupActive active) {
        return active == gaYes ? cbChecked : active == gaNo ? cbUnchecked : cbGrayed;
    };
    TSeriesGroups* groups = FChart->SeriesList()->Groups();
    if (FOptions.Test(ceGroupAll)) {
        Groups->Items()->AddObject(TeeMsg_All, nullptr);
        Groups->SetState(0, FChart->SeriesList()->AllActive() ? cbChecked : cbUnchecked);
    }
    for (int i = 0; i < groups->Count(); ++i) {
        Groups->Items()->AddObject(groups->Group(i)->Name(), groups->Group(i));
        Groups->SetState(Groups->Items()->Count() - 1, checkOf(groups->Group(i)->Active()));
    }
    UpdateGroupButtons();
}

void TChartEditForm::UpdateGroupButtons()
{
    const bool group = GroupOfItem(Groups->ItemIndex()) != nullptr;
    BDeleteGroup->SetEnabled(group);
    BRenameGroup->SetEnabled(group);
}

void TChartEditForm::GroupsClick(TObject*)
{
    LBSeries->SetSeriesGroup(GroupOfItem(Groups->ItemIndex()));
    LBSeriesRefreshButtons(LBSeries);
    UpdateGroupButtons();
}

void TChartEditForm::GroupsDragOver(TObject*, TObject* Source, int X, int Y, bool& Accept)
{
    Accept = Source == LBSeries && LBSeries->SelectedSeries() != nullptr && ListItemAtPos(Groups, X, Y) >= 0;
}

void TChartEditForm::GroupsDragDrop(TObject*, TObject*, int X, int Y)
{
    GroupsDragDrop(ListItemAtPos(Groups, X, Y));
}

void TChartEditForm::GroupsClickCheck(TObject*)
{
    const int index = Groups->ItemIndex();
    if (index < 0 || FChart == nullptr)
        return;
    const TCheckBoxState state = Groups->State(index);
    const TSeriesGroupActive active = state == cbChecked ? gaYes : state == cbUnchecked ? gaNo : gaSome;
    if (TSeriesGroup* group = GroupOfItem(index)) {
        group->SetActive(active);
    } else {
        TSeriesGroups* groups = FChart->SeriesList()->Groups();
        for (int i = 0; i < groups->Count(); ++i)
            groups->Group(i)->SetActive(active);
    }
    FillGroups();
    Groups->SetItemIndex(index);
    LBSeries->FillSeriesList(LBSeries->SelectedSeries());
}

void TChartEditForm::GroupsDragDrop(int Index)
{
    TChartSeries* series = LBSeries->SelectedSeries();
    if (series == nullptr || Index < 0 || Index >= Groups->Items()->Count())
        return;
    TSeriesGroup* target = GroupOfItem(Index);
    TSeriesGroup* shown = LBSeries->SeriesGroup();
    // Dropping on the group already shown keeps the series where it is.
    if (target != nullptr && target == shown)
        return;
    if (target != nullptr && target->Series()->IndexOf(series) < 0)
        target->Series()->Add(series);
    if (shown != nullptr)
        shown->Series()->Remove(series);
    LBSeries->FillSeriesList();
    FillGroups();
    LBSeriesRefreshButtons(LBSeries);
}

void TChartEditForm::BAddGroupClick(TObject*)
{
    if (FChart == nullptr)
        return;
    std::string name;
    if (!InputQuery(TeeMsg_AddNewGroup, TeeMsg_GroupName, name) || Trim(name).empty())
        return;
    FChart->SeriesList()->AddGroup(name);
    // The new group shows in the groups list, which appears when it was not shown yet.
    if (!PanelGroups->Visible())
        PanelGroups->Show();
    FillGroups();
}

void TChartEditForm::BRenameGroupClick(TObject*)
{
    TSeriesGroup* group = GroupOfItem(Groups->ItemIndex());
    if (group == nullptr)
        return;
    std::string name = group->Name();
    if (!InputQuery(TeeMsg_ChangeGroupName, TeeMsg_GroupName, name))
        return;
    group->SetName(name);
    const int keep = Groups->ItemIndex();
    FillGroups();
    Groups->SetItemIndex(keep);
    UpdateGroupButtons();
}

void TChartEditForm::BDeleteGroupClick(TObject*)
{
    TSeriesGroup* group = GroupOfItem(Groups->ItemIndex());
    if (group == nullptr || !ConfirmDelete(group->Name(), BDeleteGroup))
        return;
    // The list box lets go of the group before it is freed.
    if (LBSeries->SeriesGroup() == group)
        LBSeries->SetSeriesGroup(nullptr);
    Groups->Items()->Delete(Groups->ItemIndex());
    delete group;
    FillGroups();
    LBSeries->FillSeriesList();
    LBSeriesRefreshButtons(LBSeries);
}

namespace {
std::unique_ptr<std::vector<TChartEditorHook>> EditorHooks;
} // namespace

std::vector<TChartEditorHook>* ChartEditorHooks()
{
    return EditorHooks.get();
}

void RunEditorHooks(TChartEditForm* Form)
{
    if (EditorHooks != nullptr)
        for (const TChartEditorHook& hook : *EditorHooks)
            if (hook)
                hook(Form);
}

void RegisterChartEditorPage(const std::string& ClassName, TChartEditorPageFactory Factory)
{
    if (Factory)
        PageFactories()[LowerCase(ClassName)] = std::move(Factory);
    else
        PageFactories().erase(LowerCase(ClassName));
}

void TeeEditChaInitialization()
{
    RegisterFormClass<TChartEditForm>("TChartEditForm");
    RegisterChartEditorPages();
    EditorHooks = std::make_unique<std::vector<TChartEditorHook>>();
}

void TeeEditChaFinalization()
{
    PageFactories().clear();
    EditorHooks.reset();
    UnregisterFormClass("TTeeExportForm");
    UnregisterFormClass("TChartEditForm");
}
