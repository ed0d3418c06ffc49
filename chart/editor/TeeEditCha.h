// The chart editor window: a page control with the chart's pages ("Chart" with its
// sub-pages, "Series", "Data", "Tools", "Export", "Print"), the series list with its
// buttons and the series groups. Every page except the series list, the axis page and
// the data grid is a form found by class name among the registered editor forms, created
// the first time its tab shows and embedded in the tab with the chart (the series list
// box for the series page) as its Tag; a page whose class is not registered has no tab.
#pragma once

#include "Chart.h"
#include "ChartGrid.h"
#include "ChartListBox.h"

#include "controls/Buttons.h"
#include "controls/ComCtrls.h"
#include "controls/ExtCtrls.h"
#include "controls/Forms.h"
#include "controls/ListBoxes.h"
#include "controls/PopupMenus.h"
#include "controls/Splitter.h"
#include "controls/StdButtons.h"
#include "controls/StdCtrls.h"
#include "controls/TreeViews.h"
#include "system/Flags.h"

#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

class TSeriesGroup;

// Bits of the editor's options word.
enum TChartEditorOption : uint16_t {
    ceAdd = 1 << 0,
    ceDelete = 1 << 1,
    ceChange = 1 << 2,
    ceClone = 1 << 3,
    ceDataSource = 1 << 4,
    ceTitle = 1 << 5,
    ceHelp = 1 << 6,
    ceGroups = 1 << 7,
    ceGroupAll = 1 << 8,
};
using TChartEditorOptions = TFlags<TChartEditorOption>;
DECLARE_FLAG_OPERATORS(TChartEditorOption)
// Every option but ceGroups (383).
inline constexpr TChartEditorOptions DefaultChartEditorOptions =
    ceAdd | ceDelete | ceChange | ceClone | ceDataSource | ceTitle | ceHelp | ceGroupAll;

// Start-page codes (also the pages that can be hidden).
enum TChartEditorPage {
    cetSeriesList = 0, cetGeneral, cetAxis, cetTitles, cetLegend, cetPanel, cetPaging, cetWalls, cet3D,
    cetSeriesGeneral = 9, cetSeriesMarks = 10, cetSeries = 11, cetData = 12, cetExport = 13,
    cetTools = 15, cetPrint = 16,
};

class TChartEditForm : public TForm {
public:
    DECLARE_CLASS_NAME(TChartEditForm)
    explicit TChartEditForm(TComponent* AOwner);
    ~TChartEditForm() override;

    TPageControl* MainPage;
    TTabSheet* TabChart;
    TPageControl* SubPage;
    TTabSheet* TabSeriesList;
    TTabSheet* TabGeneral;
    TTabSheet* TabAxis;
    TTabSheet* TabTitle;
    TTabSheet* TabLegend;
    TTabSheet* TabPanel;
    TTabSheet* TabPaging;
    TTabSheet* TabWalls;
    TTabSheet* Tab3D;
    TTabSheet* TabSeries;
    TTabSheet* TabData;
    TTabSheet* TabTools;
    TTabSheet* TabExport;
    TTabSheet* TabPrint;
    // series list tab
    TButton* BAddGroup;
    TButton* BDeleteGroup;
    TButton* BRenameGroup;
    TCheckBox* CBNames;
    TPanel* PanelGroups;
    TCheckListBox* Groups;
    TChartListBox* LBSeries;
    TSpeedButton* BMoveUP;
    TSpeedButton* BMoveDown;
    TButton* BAddSeries;
    TButton* BDeleteSeries;
    TButton* BRenameSeries;
    TButton* BCloneSeries;
    TButton* BChangeTypeSeries;
    // Below the series buttons: opens the chart library's about box.
    TButton* ButtonAbout;
    // data tab
    TChartGridNavigator* ChartGridNavigator1;
    // the four toggles of the grid (down = checked)
    TCheckBox* SBGridText;
    TCheckBox* SBGridCol;
    TCheckBox* SBGrid3D;
    TCheckBox* SBGridX;
    TChartGrid* ChartGrid1;
    // the grid's pop-up menu
    TPopupMenu* PopupData;
    TMenuItem* EditColor1;
    TMenuItem* DefaultColor1;
    TMenuItem* Makenullpoint1;
    TMenuItem* N1;
    TMenuItem* Insertrow1;
    TMenuItem* Deleterow1;
    TMenuItem* extfont1;
    // bottom bar
    TLabel* LabelWWW;
    TButton* ButtonHelp;
    TButton* BClose;
    // tree mode: the pages chosen in a tree on the left instead of the tabs
    TTreeView* Tree;
    // Beside the tree: dragging it changes the tree's width.
    TSplitter* TreeSplitter;

    // ---- state the callers set before showing ----
    TCustomChart* Chart() const { return FChart; }
    void AttachChart(TCustomChart* Value);
    int StartPage() const { return FStartPage; }
    void SetStartPage(int Value) { FStartPage = Value; }
    TChartEditorOptions Options() const { return FOptions; }
    void SetOptions(TChartEditorOptions Value) { FOptions = Value; }
    // Pages (start-page codes) that are not offered.
    std::set<int> HiddenPages;
    TChartSeries* SeriesToOpen = nullptr;
    TTeeCustomTool* ToolToOpen = nullptr;
    bool RememberPosition() const { return FRememberPosition; }
    bool RememberSize() const { return FRememberSize; }
    // The help file found for the window ("" when there is none).
    const std::string& HelpFile() const { return FHelpFile; }
    // Finds the help file named by the options (none without the help bit).
    void SetupHelp();

    // The embedded form of a tab, or nullptr while it is not created.
    TForm* PageForm(TTabSheet* Tab) const;
    // The form class a tab hosts ("" for the tabs built into the window).
    static std::string PageClassName(int Page);
    // The tab of a start-page code (nullptr for codes without one).
    TTabSheet* TabOfPage(int Page) const;
    // Makes the tab active (and its "Chart" parent for a sub-tab) and runs its change
    // handler, which creates its page on first use.
    void ActivateTab(TTabSheet* Tab);
    void OpenStartPage();
    // Opens the "Series" tab for the series.
    void EditSeries(TChartSeries* Series);

    // ---- handlers ----
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormDestroy();
    void MainPageChange(TObject* Sender);
    void MainPageChanging(TObject* Sender, bool& AllowChange);
    void SubPageChange(TObject* Sender);
    void BCloseClick(TObject* Sender);
    void BMoveUPClick(TObject* Sender);
    void BMoveDownClick(TObject* Sender);
    void BAddSeriesClick(TObject* Sender);
    void BDeleteSeriesClick(TObject* Sender);
    void BRenameSeriesClick(TObject* Sender);
    void BCloneSeriesClick(TObject* Sender);
    void BChangeTypeSeriesClick(TObject* Sender);
    void LBSeriesEditSeries(TObject* Sender, int Index);
    void LBSeriesRefreshButtons(TObject* Sender);
    void CBNamesClick(TObject* Sender);
    void SBGridTextClick(TObject* Sender);
    void SBGridColClick(TObject* Sender);
    void SBGrid3DClick(TObject* Sender);
    void SBGridXClick(TObject* Sender);
    // The colour items show only over the colour cell of a point, each hidden when the
    // point already has what it would set.
    void PopupDataPopup(TObject* Sender);
    void EditColor1Click(TObject* Sender);
    void DefaultColor1Click(TObject* Sender);
    void Makenullpoint1Click(TObject* Sender);
    void Insertrow1Click(TObject* Sender);
    void Deleterow1Click(TObject* Sender);
    // The grid's font from the font dialog; rows as high as its letter W.
    void extfont1Click(TObject* Sender);
    void LabelWWWClick(TObject* Sender);

    // ---- tree mode ----
    bool TreeMode() const { return FTreeMode; }
    int TreeWidth() const { return FTreeWidth; }
    // Shows the tree (widening the window by it) in place of the tab bars and fills it:
    // the series, the chart's pages with its axes and titles, then the other pages with
    // the tools; selects the series node.
    void BuildTree();
    // Shows the page of the node: a tab's page, or the series, axis, title or tool page
    // for that object.
    void TreeChange(TObject* Sender, TTreeNode* Node);
    // Only series are renamed in place.
    void TreeEditing(TObject* Sender, TTreeNode* Node, bool& AllowEdit);
    void TreeEdited(TObject* Sender, TTreeNode* Node, std::string& S);
    void ButtonHelpClick(TObject* Sender);

    // ---- series groups ----
    // The groups, checked, unchecked or greyed as their series are all, none or some
    // active.
    void FillGroups();
    // The group of a groups-list item (nullptr for "(all)").
    TSeriesGroup* GroupOfItem(int Index) const;
    void GroupsClick(TObject* Sender);
    // The user changed the check of the current item.
    void GroupsClickCheck(TObject* Sender);
    // The selected series of the list dropped on the groups-list item.
    void GroupsDragDrop(int Index);
    // The drag of the series list over the groups list: taken over an item while a
    // series is selected; the drop goes to the item under the point.
    void GroupsDragOver(TObject* Sender, TObject* Source, int X, int Y, bool& Accept);
    void GroupsDragDrop(TObject* Sender, TObject* Source, int X, int Y);
    void BAddGroupClick(TObject* Sender);
    void BRenameGroupClick(TObject* Sender);
    void BDeleteGroupClick(TObject* Sender);

private:
    TTabSheet* const* MainTabs() const { return FMainTabs.data(); }
    void CreatePage(TTabSheet* Tab);
    void HideTabs();
    bool TabOffered(TTabSheet* Tab) const;
    TForm* SeriesPage() const { return PageForm(TabSeries); }
    void FreeSeriesPage();
    void UpdateGroupButtons();
    int PageOfTab(const TTabSheet* Tab) const;

    TCustomChart* FChart = nullptr;
    int FStartPage = -1;
    TChartEditorOptions FOptions = DefaultChartEditorOptions;
    bool FRememberPosition = true;
    bool FRememberSize = true;
    bool FTreeMode = false;
    int FTreeWidth = 130;
    // The size the window opened with: only a size the user changed is stored.
    int FOpenedWidth = 0;
    int FOpenedHeight = 0;
    TTreeNode* FSeriesNode = nullptr;
    void FillSeriesNodes();
    std::string FHelpFile;
    std::array<TTabSheet*, 6> FMainTabs{};
    std::vector<std::pair<TTabSheet*, TForm*>> FPages;
    // The series the series page was made for.
    TChartSeries* FSeriesPageSeries = nullptr;
    bool FClosing = false;
    // Set while the data page's buttons are made to show the grid's state.
    bool FShowingGridState = false;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
};

// Makes the page of a registered form class for the editor: pages that take their
// chart, legend, title or wall when they are created register a factory under their
// class name. A class without one is created by its registered form factory and finds
// the chart in its Tag.
using TChartEditorPageFactory =
    std::function<TForm*(TComponent* Owner, TCustomChart* Chart, TChartListBox* SeriesList)>;
// Adds or replaces the factory (an empty one removes it).
void RegisterChartEditorPage(const std::string& ClassName, TChartEditorPageFactory Factory);
// The pages of this library that need a factory (called by the unit's start-up).
void RegisterChartEditorPages();

// Procedures called with every editor window as it shows (the unit's start-up creates
// the list; nothing in the program adds to it).
using TChartEditorHook = std::function<void(TChartEditForm* Form)>;
std::vector<TChartEditorHook>* ChartEditorHooks();
void RunEditorHooks(TChartEditForm* Form);

void TeeEditChaInitialization();
void TeeEditChaFinalization();
