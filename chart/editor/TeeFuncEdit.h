// The function page of a series fed by a calculated function or copying another series:
// a combo of functions, the source series, and the function's own options form (found by
// the class name the function reports). Nothing reaches the series' sources until Apply,
// except the function class, which the combo replaces at once.
#pragma once

#include "TeeSourceEdit.h"

#include "Chart.h"
#include "TeeFunci.h"

#include <functional>
#include <string>
#include <vector>

class TTeeFuncEditor;

// Creates the two-list chooser of several sources: a form holding the list boxes
// "FromList" (available) and "ToList" (chosen), which calls OnChange after each change.
// The unit's start-up sets the gallery unit's chooser; without one a function of several
// sources keeps its sources.
using TCreateSelectListForm = std::function<TForm*(TComponent* AOwner, TNotifyEvent OnChange)>;
extern TCreateSelectListForm CreateSelectListFormHook;

// The most points a y = f(x) function may be given from its editor.
inline constexpr int MaxCustomFunctionPoints = 1000000;

class TTeeFuncEditor : public TBaseSourceEditor, public IPanelEventListener {
public:
    DECLARE_CLASS_NAME(TTeeFuncEditor)
    explicit TTeeFuncEditor(TComponent* AOwner);
    ~TTeeFuncEditor() override;

    TPageControl* PageControl1;
    TTabSheet* TabSource;
    TTabSheet* TabOptions;
    TPanel* PanSingle;
    TLabel* LSingle;
    TComboBox* CBSingle;
    TLabel* LValues;
    TComboBox* CBValues;
    TButton* BNone;
    // Holds the several-sources chooser.
    TPanel* PanSelectList;

    // The function class of the combo's selected item (nullptr for "Copy" or none).
    TTeeFunctionClass SelectedFunctionClass() const;
    // The embedded options form, the several-sources chooser (either may be nullptr).
    TForm* OptionsForm() const { return FOptions; }
    TForm* SelectListForm() const { return FSelectList; }

    void FormShow(TObject* Sender);
    void CBSourcesChange(TObject* Sender);
    void CBSingleChange(TObject* Sender);
    void BNoneClick(TObject* Sender);
    void BApplyClick(TObject* Sender);
    // Refills the series list and the chooser's lists, leaving out Removing (a series
    // that is being taken out of the chart).
    void FillSourceSeries(TChartSeries* Removing = nullptr);
    // Shows the present titles of the listed series (renamed meanwhile), keeping the
    // choices and the changes not yet applied.
    void RetitleSourceSeries();
    void HandleEvent(TTeeEvent* Event) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void SetFunctionClass(TTeeFunctionClass FunctionClass);
    void FreeOptions();
    TListBox* ChooserList(const char* Name) const;
    void SelectSingleSource();
    void ListenTo(TCustomAxisPanel* Chart);

    std::vector<TTeeFunctionClass> FClasses;   // per combo item
    TForm* FOptions = nullptr;
    TForm* FSelectList = nullptr;
    TCustomAxisPanel* FChart = nullptr;
    bool FLoading = false;
    bool FDestroying = false;
};

// The base of the functions' option forms.
class TBaseFunctionEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TBaseFunctionEditor)
    explicit TBaseFunctionEditor(TComponent* AOwner);

    TTeeFunction* TheFunction() const { return FFunction; }

    virtual void ApplyToFunction() {}
    virtual void LoadFromFunction() {}

    void FormShow(TObject* Sender);
    // Writes the options into the function (made first when missing) inside one update.
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    // Enables the owner page's Apply button (not while loading).
    void EnableApply();

protected:
    // The series the owner page edits.
    TChartSeries* EditedSeries() const;
    bool FLoading = false;
    TTeeFunction* FFunction = nullptr;
};

// The period options: how the points are grouped and where each result goes.
class TTeeFunctionEditor : public TBaseFunctionEditor {
public:
    DECLARE_CLASS_NAME(TTeeFunctionEditor)
    explicit TTeeFunctionEditor(TComponent* AOwner);

    TLabel* LStyle;
    TComboBox* CBStyle;
    TLabel* LNum;
    TEdit* ENum;
    TButton* BChange;
    TLabel* LAlign;
    TComboBox* CBAlign;

    void ApplyToFunction() override;
    void LoadFromFunction() override;
    void CBStyleChange(TObject* Sender);
    void BChangeClick(TObject* Sender);

protected:
    // Room under the period options for a descendant's controls.
    TPanel* PanelMore;
};

class TAverageFuncEditor : public TTeeFunctionEditor {
public:
    DECLARE_CLASS_NAME(TAverageFuncEditor)
    explicit TAverageFuncEditor(TComponent* AOwner);

    TCheckBox* CBNulls;

    void ApplyToFunction() override;
    void LoadFromFunction() override;
};

// y = f(x): first X, step and number of points.
class TCustomFunctionEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TCustomFunctionEditor)
    explicit TCustomFunctionEditor(TComponent* AOwner);

    TLabel* LStart;
    TEdit* EStart;
    TLabel* LStep;
    TEdit* EStep;
    TLabel* LNum;
    TEdit* ENum;

    TCustomTeeFunction* TheFunction() const { return FFunction; }

    void FormShow(TObject* Sender);
    void EditChange(TObject* Sender);
    // Reads all three edits first (a text that is no number raises the conversion error,
    // a count outside 1..MaxCustomFunctionPoints a range error) and only then writes them.
    void FormCloseQuery(TObject* Sender, bool& CanClose);

private:
    bool FLoading = false;
    TCustomTeeFunction* FFunction = nullptr;
};

// Registers the four option forms and the function page by class name.
void TeeFuncEditInitialization();
void TeeFuncEditFinalization();
