#include "TeeToolsGallery.h"

#include "TeePenDlg.h"
#include "RizUridu.h"
#include "TeeConst.h"
#include "TeEngine.h"

#include "controls/FormBuilder.h"

#include <memory>

namespace {
std::unique_ptr<TTeeCustomTool> TemporaryTool(TTeeCustomToolClass ToolClass)
{
    if (ToolClass == nullptr || !ToolClass->CreateComponent)
        return nullptr;
    return std::unique_ptr<TTeeCustomTool>(dynamic_cast<TTeeCustomTool*>(ToolClass->CreateComponent(nullptr)));
}
} // namespace

int ToolGalleryTab(TTeeCustomToolClass ToolClass)
{
    const std::unique_ptr<TTeeCustomTool> tool = TemporaryTool(ToolClass);
    if (dynamic_cast<TTeeCustomToolSeries*>(tool.get()) != nullptr)
        return 0;
    if (dynamic_cast<TTeeCustomToolAxis*>(tool.get()) != nullptr)
        return 1;
    return 2;
}

std::string ToolClassDescription(TTeeCustomToolClass ToolClass)
{
    const std::unique_ptr<TTeeCustomTool> tool = TemporaryTool(ToolClass);
    return tool != nullptr ? tool->Description() : std::string();
}

TTeeToolsGallery::TTeeToolsGallery(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "TeeToolsGallery");
    SetCaption("Chart Tools Gallery");
    BuildForm(this, 260, 240, {
        Ctl(TabControl1, "TabControl1"),
        Growing(List(LBTool, "LBTool")),
        Buttons({Ctl(BOk, "BOk", "&Add"), Ctl(BCan, "BCan", "Cancel")}),
    });
    BOk->SetModalResult(mrOk);
    BOk->SetDefault(true);
    BOk->SetEnabled(false);
    BCan->SetModalResult(mrCancel);
    BCan->SetCancel(true);
    TabControl1->OnChange = [this](TObject*) { FillList(); };
    LBTool->OnClick = [this](TObject* s) { LBToolClick(s); };
    LBTool->OnDblClick = [this](TObject* s) { LBToolDblClick(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    DoCreate();
}

void TTeeToolsGallery::FormShow(TObject*)
{
    if (!FTabsAdded) {
        FTabsAdded = true;
        TabControl1->Tabs()->Add(TeeMsg_Series);
        TabControl1->Tabs()->Add("Axis");
        TabControl1->Tabs()->Add(TeeMsg_GalleryOther);
        TabControl1->SetTabIndex(0);
    }
    FillList();
    CallFormShowHook(this);
}

void TTeeToolsGallery::FillList()
{
    LBTool->Items()->Clear();
    const int tab = TabControl1->TabIndex();
    TTeeToolTypes* types = ToolTypeList();
    for (int i = 0; i < types->Count(); ++i) {
        TTeeCustomToolClass toolClass = types->Get(i);
        if (ToolGalleryTab(toolClass) == tab)
            LBTool->Items()->AddObject(ToolClassDescription(toolClass),
                                       const_cast<TObject*>(reinterpret_cast<const TObject*>(toolClass)));
    }
    BOk->SetEnabled(false);
}

TTeeCustomToolClass TTeeToolsGallery::SelectedClass() const
{
    const int index = LBTool->ItemIndex();
    if (index < 0)
        return nullptr;
    return reinterpret_cast<TTeeCustomToolClass>(LBTool->Items()->GetObject(index));
}

void TTeeToolsGallery::LBToolClick(TObject*)
{
    BOk->SetEnabled(LBTool->ItemIndex() != -1);
}

void TTeeToolsGallery::LBToolDblClick(TObject*)
{
    if (SelectedClass() != nullptr)
        SetModalResult(mrOk);
}
