#include "EditorPage.h"

#include "RizUridu.h"

#include "system/ScopeGuard.h"

TEditorPage::TEditorPage(TComponent* AOwner) : TForm(AOwner)
{
    SetAlign(alClient);
    // Other pages and the chart window change what the page shows while its tab is away:
    // it loads its controls again each time the tab comes back.
    ReloadOnShowAgain(this);
}

void TEditorPage::OnEdit(TEdit* Edit, std::function<void()> Write)
{
    Edit->OnChange = [this, Write = std::move(Write)](TObject*) {
        if (!FLoading)
            Write();
    };
}

void TEditorPage::OnUpDown(TUpDown* UpDown, std::function<void()> Write)
{
    auto write = [this, Write = std::move(Write)](TObject*) {
        if (!FLoading)
            Write();
    };
    UpDown->OnChange = write;
    UpDown->OnTyped = write;
}

void TEditorPage::OnCheck(TCheckBox* Box, std::function<void()> Write)
{
    Box->OnClick = [this, Write = std::move(Write)](TObject*) {
        if (!FLoading)
            Write();
    };
}

void TEditorPage::OnCombo(TComboBox* Combo, std::function<void(int)> Write)
{
    Combo->OnChange = [this, Combo, Write = std::move(Write)](TObject*) {
        if (!FLoading && Combo->ItemIndex() >= 0)
            Write(Combo->ItemIndex());
    };
}

void TEditorPage::OnRadio(TRadioGroup* Group, std::function<void(int)> Write)
{
    Group->OnClick = [this, Group, Write = std::move(Write)](TObject*) {
        if (!FLoading && Group->ItemIndex() >= 0)
            Write(Group->ItemIndex());
    };
}

void TEditorPage::OnTrack(TTrackBar* Bar, std::function<void(int)> Write)
{
    Bar->OnChange = [this, Bar, Write = std::move(Write)](TObject*) {
        if (!FLoading)
            Write(Bar->Position());
    };
}

void TEditorPage::Load(const std::function<void()>& Fill)
{
    auto loading = RestoreOnExit(FLoading);
    FLoading = true;
    Fill();
}

void TEditorPage::FinishFirstShow()
{
    FLoading = false;
    CallFormShowHook(this);
}
