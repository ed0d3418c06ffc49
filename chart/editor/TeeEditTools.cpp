#include "TeeEditTools.h"

#include "TeePenDlg.h"
#include "RizUridu.h"
#include "TeeToolsGallery.h"

#include "controls/FormBuilder.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <memory>

TFormTeeTools::TFormTeeTools(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "FormTeeTools");
    SetCaption("Tools");
    TFormItem list = List(LBTools, "LBTools");
    list.FixedWidth = 150;
    BuildForm(this, 420, 260, {
        Panel(PTop, "PTop", {Line({Ctl(BAdd, "BAdd", "&Add..."), Ctl(BDelete, "BDelete", "&Delete"),
                                   Ctl(CBActive, "CBActive", "A&ctive"), Stretch(), Ctl(BMoveUp, "BMoveUp", "", 24),
                                   Ctl(BMoveDown, "BMoveDown", "", 24)})}),
        Growing(Line({list, Panel(PanelToolEditor, "PanelToolEditor", {})})),
        Panel(PBottom, "PBottom", {}),
    });
    LoadArrowGlyphs(BMoveUp, BMoveDown);
    LBTools->SetStyle(lbOwnerDrawFixed);
    LBTools->SetItemHeight(18);
    LBTools->OnDrawItem = [this](TWinControl*, int Index, const TRect& Rect, TOwnerDrawState) {
        auto* tool = static_cast<TTeeCustomTool*>(LBTools->Items()->GetObject(Index));
        DrawToolListItem(LBTools, tool != nullptr ? tool->ClassInfo() : nullptr, Index, Rect);
    };
    LBTools->OnClick = [this](TObject* s) { LBToolsClick(s); };
    BAdd->OnClick = [this](TObject* s) { BAddClick(s); };
    BDelete->OnClick = [this](TObject* s) { BDeleteClick(s); };
    CBActive->OnClick = [this](TObject* s) { CBActiveClick(s); };
    BMoveUp->OnClick = [this](TObject* s) { BMoveUpClick(s); };
    BMoveDown->OnClick = [this](TObject* s) { BMoveDownClick(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    DoCreate();
}

TFormTeeTools::~TFormTeeTools()
{
    FreeToolEditor();
}

TTeeCustomTool* TFormTeeTools::SelectedTool() const
{
    const int index = LBTools->ItemIndex();
    return index < 0 ? nullptr : static_cast<TTeeCustomTool*>(LBTools->Items()->GetObject(index));
}

int TFormTeeTools::ListedToolCount() const
{
    return FChart != nullptr ? FChart->Tools()->Count() : 0;
}

void TFormTeeTools::FormShow(TObject*)
{
    FChart = dynamic_cast<TCustomChart*>(reinterpret_cast<TObject*>(Tag()));
    PBottom->SetVisible(FChart != nullptr && FChart->IsDesigning());
    FillTools();
    if (LBTools->Items()->Count() > 0) {
        LBTools->SetItemIndex(0);
        LBToolsClick(LBTools);
    } else {
        UpdateMoveButtons();
    }
    CallFormShowHook(this);
}

void TFormTeeTools::FillTools()
{
    auto filling = RestoreOnExit(FFilling);
    FFilling = true;
    PBottom->SetCaption("");
    LBTools->Items()->Clear();
    if (FChart != nullptr)
        for (TTeeCustomTool* tool : FChart->Tools()->Items())
            LBTools->Items()->AddObject(tool->Description(), tool);
    const bool any = LBTools->Items()->Count() > 0;
    BDelete->SetEnabled(any);
    CBActive->SetEnabled(any);
}

void TFormTeeTools::CheckToolCount()
{
    // Refilling selects and shows an editor, which must not lead back here: the count
    // compared is the one the fill produces.
    if (FFilling || ListedToolCount() == LBTools->Items()->Count())
        return;
    TTeeCustomTool* keep = SelectedTool();
    FillTools();
    const int index = LBTools->Items()->IndexOfObject(keep);
    if (index >= 0 || LBTools->Items()->Count() > 0) {
        LBTools->SetItemIndex(std::max(index, 0));
        LBToolsClick(LBTools);
    } else {
        FreeToolEditor();
        UpdateMoveButtons();
    }
}

void TFormTeeTools::Notification(TComponent* AComponent, TOperation Operation)
{
    TForm::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FEditor)
        FEditor = nullptr;
    else if (AComponent == FEditedTool && FEditedTool != nullptr)
        FreeToolEditor();
}

void TFormTeeTools::FreeToolEditor()
{
    TForm* editor = FEditor;
    if (FEditedTool != nullptr)
        FEditedTool->RemoveFreeNotification(this);
    FEditor = nullptr;
    FEditedTool = nullptr;
    delete editor;
}

void TFormTeeTools::SelectTool(TTeeCustomTool* Tool)
{
    const int index = LBTools->Items()->IndexOfObject(Tool);
    if (index < 0)
        return;
    LBTools->SetItemIndex(index);
    LBToolsClick(LBTools);
}

void TFormTeeTools::LBToolsClick(TObject*)
{
    // An editor that refuses to close keeps its tool selected.
    if (FEditor != nullptr && !FEditor->CloseQuery()) {
        const int back = LBTools->Items()->IndexOfObject(FEditedTool);
        if (back >= 0)
            LBTools->SetItemIndex(back);
        return;
    }
    ShowToolEditor();
}

void TFormTeeTools::ShowToolEditor()
{
    FreeToolEditor();
    TTeeCustomTool* tool = SelectedTool();
    BDelete->SetEnabled(tool != nullptr);
    if (tool != nullptr) {
        {
            auto filling = RestoreOnExit(FFilling);
            FFilling = true;
            CBActive->SetChecked(tool->Active());
        }
        if (TForm* editor = CreateFormOfClass(tool->EditorClassName(), this)) {
            FEditor = editor;
            FEditedTool = tool;
            tool->FreeNotification(this);
            CallFormShowHook(editor);
            editor->SetAlign(alClient);
            EmbedFormInPanel(editor, PanelToolEditor, reinterpret_cast<intptr_t>(static_cast<TObject*>(tool)));
        }
        if (PBottom->Visible())
            PBottom->SetCaption(tool->Name());
    }
    UpdateMoveButtons();
}

void TFormTeeTools::BAddClick(TObject*)
{
    if (FChart == nullptr)
        return;
    std::unique_ptr<TTeeToolsGallery> gallery(CreateDialogForm<TTeeToolsGallery>(this));
    if (gallery->ShowModal() != mrOk)
        return;
    TTeeCustomToolClass toolClass = gallery->SelectedClass();
    gallery.reset();
    if (toolClass == nullptr || !toolClass->CreateComponent)
        return;
    TComponent* owner = FChart->Owner();
    auto* tool = dynamic_cast<TTeeCustomTool*>(toolClass->CreateComponent(owner));
    if (tool == nullptr)
        return;
    tool->SetParentChart(FChart);
    tool->SetName(NumberedComponentName(owner, "ChartTool"));
    if (OnAdded)
        OnAdded(this, tool);
    FillTools();
    LBTools->SetItemIndex(LBTools->Items()->Count() - 1);
    ShowToolEditor();
}

void TFormTeeTools::BDeleteClick(TObject*)
{
    TTeeCustomTool* tool = SelectedTool();
    if (tool == nullptr || !ConfirmDelete(tool->Description(), BDelete))
        return;
    const int deleted = LBTools->ItemIndex();
    if (OnDeleting)
        OnDeleting(this, tool);
    // The editor refers to the tool, so it goes first.
    FreeToolEditor();
    delete tool;
    FillTools();
    // The item before the deleted one is selected when the deleted one was the third or
    // later; else the last item.
    const int count = LBTools->Items()->Count();
    if (count > 0) {
        LBTools->SetItemIndex(deleted >= 2 ? deleted - 1 : count - 1);
        ShowToolEditor();
    } else {
        UpdateMoveButtons();
    }
    if (FChart != nullptr)
        FChart->Invalidate();
}

void TFormTeeTools::CBActiveClick(TObject*)
{
    if (FFilling)
        return;
    if (TTeeCustomTool* tool = SelectedTool())
        tool->SetActive(CBActive->Checked());
}

void TFormTeeTools::MoveSelected(int Delta)
{
    const int a = LBTools->ItemIndex();
    const int b = a + Delta;
    if (FChart == nullptr || a < 0 || b < 0 || b >= LBTools->Items()->Count())
        return;
    auto* toolA = static_cast<TTeeCustomTool*>(LBTools->Items()->GetObject(a));
    auto* toolB = static_cast<TTeeCustomTool*>(LBTools->Items()->GetObject(b));
    LBTools->Items()->Exchange(a, b);
    LBTools->SetItemIndex(b);
    FChart->Tools()->Exchange(FChart->Tools()->IndexOf(toolA), FChart->Tools()->IndexOf(toolB));
    if (toolA->Owner() != nullptr && toolA->Owner() == toolB->Owner()) {
        const int indexA = toolA->ComponentIndex();
        const int indexB = toolB->ComponentIndex();
        toolA->SetComponentIndex(indexB);
        toolB->SetComponentIndex(indexA);
    }
    FChart->Invalidate();
    UpdateMoveButtons();
}

void TFormTeeTools::BMoveUpClick(TObject*)
{
    MoveSelected(-1);
}

void TFormTeeTools::BMoveDownClick(TObject*)
{
    MoveSelected(1);
}

void TFormTeeTools::UpdateMoveButtons()
{
    const int index = LBTools->ItemIndex();
    BMoveUp->SetEnabled(index > 0);
    BMoveDown->SetEnabled(index >= 0 && index < LBTools->Items()->Count() - 1);
}

void TeeEditToolsInitialization()
{
    RegisterFormClass<TFormTeeTools>("TFormTeeTools");
    RegisterFormClass<TTeeToolsGallery>("TTeeToolsGallery");
}

void TeeEditToolsFinalization()
{
    UnregisterFormClass("TFormTeeTools");
    UnregisterFormClass("TTeeToolsGallery");
}
