#include "EditChar.h"

#include <memory>

TChartEditForm* CreateChartEditor(TCustomChart* Chart)
{
    auto* editor = new TChartEditForm(Application);
    editor->AttachChart(Chart);
    editor->SetupHelp();
    return editor;
}

void ShowChartEditorAtPage(TComponent*, TCustomChart* Chart, int Page)
{
    // Freed on return, also when showing fails.
    std::unique_ptr<TChartEditForm> editor(CreateChartEditor(Chart));
    editor->SetStartPage(Page);
    editor->ShowModal();
}

void ShowChartEditor(TComponent* AOwner, TCustomChart* Chart)
{
    ShowChartEditorAtPage(AOwner, Chart, cetSeriesList);
}
