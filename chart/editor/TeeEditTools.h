// The chart editor's "Tools" tab: the chart's tools in a list, the editor form of the
// selected tool beside it, and buttons that add (through the tools gallery), delete,
// switch on and off and reorder tools.
#pragma once

#include "Chart.h"

#include "controls/Buttons.h"
#include "controls/ExtCtrls.h"
#include "controls/Forms.h"
#include "controls/ListBoxes.h"
#include "controls/StdButtons.h"
#include "controls/StdCtrls.h"

#include <functional>

using TToolNotifyEvent = std::function<void(TObject* Sender, TTeeCustomTool* Tool)>;

class TFormTeeTools : public TForm {
public:
    DECLARE_CLASS_NAME(TFormTeeTools)
    explicit TFormTeeTools(TComponent* AOwner);
    ~TFormTeeTools() override;

    TPanel* PTop;
    TButton* BAdd;
    TButton* BDelete;
    TCheckBox* CBActive;
    TSpeedButton* BMoveUp;
    TSpeedButton* BMoveDown;
    TListBox* LBTools;
    TPanel* PanelToolEditor;
    TPanel* PBottom;

    // Fired after a tool was added, and before one is deleted.
    TToolNotifyEvent OnAdded;
    TToolNotifyEvent OnDeleting;

    TCustomChart* Chart() const { return FChart; }
    // The tool of the selected item, or nullptr.
    TTeeCustomTool* SelectedTool() const;
    // The embedded editor form of the selected tool, or nullptr.
    TForm* ToolEditor() const { return FEditor; }
    // Selects the tool's item and shows its editor.
    void SelectTool(TTeeCustomTool* Tool);

    void FormShow(TObject* Sender);
    void FillTools();
    void LBToolsClick(TObject* Sender);
    void BAddClick(TObject* Sender);
    void BDeleteClick(TObject* Sender);
    void CBActiveClick(TObject* Sender);
    void BMoveUpClick(TObject* Sender);
    void BMoveDownClick(TObject* Sender);
    // Refills the list when the chart's tools no longer match it (an undo elsewhere, say).
    void CheckToolCount();

protected:
    // A tool freed elsewhere takes its editor with it.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ShowToolEditor();
    void FreeToolEditor();
    void UpdateMoveButtons();
    void MoveSelected(int Delta);
    // The number of tools the list shows for the chart.
    int ListedToolCount() const;

    TCustomChart* FChart = nullptr;
    TForm* FEditor = nullptr;
    TTeeCustomTool* FEditedTool = nullptr;
    bool FFilling = false;
};

void TeeEditToolsInitialization();
void TeeEditToolsFinalization();
