#include "TeeToolsGallery.h"

#include "TeePenDlg.h"
#include "RizUridu.h"
#include "TeeConst.h"
#include "TeEngine.h"

#include "controls/FormBuilder.h"
#include "controls/Resources.h"
#include "graphics/Bitmap.h"

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

void DrawToolPicture(TTeeCustomToolClass ToolClass, TBitmap* Bitmap)
{
    if (Bitmap == nullptr || (ToolClass != nullptr && LoadBitmapResource(Bitmap, ToolClass->ClassName)))
        return;
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(16, 16);
    TCanvas* c = Bitmap->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clWhite);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(clGray);
    c->Rectangle(0, 0, 16, 16);
    switch (ToolGalleryTab(ToolClass)) {
    case 0: {
        // A series' line with one point marked.
        c->Pen()->SetColor(clBlue);
        c->Polyline({TPoint(2, 12), TPoint(6, 7), TPoint(9, 9), TPoint(13, 3)});
        c->Brush()->SetColor(clRed);
        c->Pen()->SetColor(clRed);
        c->Rectangle(7, 7, 11, 11);
        break;
    }
    case 1:
        // An axis with its ticks.
        c->Pen()->SetColor(clBlack);
        c->MoveTo(4, 2);
        c->LineTo(4, 14);
        c->LineTo(14, 14);
        for (int y = 3; y < 13; y += 3) {
            c->MoveTo(2, y);
            c->LineTo(4, y);
        }
        break;
    default:
        // A wrench: a handle and an open head.
        c->Pen()->SetColor(clGray);
        c->Pen()->SetWidth(2);
        c->MoveTo(3, 13);
        c->LineTo(9, 7);
        c->Pen()->SetWidth(1);
        c->Brush()->SetColor(clGray);
        c->Ellipse(8, 2, 15, 9);
        c->Brush()->SetColor(clWhite);
        c->Pen()->SetColor(clWhite);
        c->Rectangle(11, 2, 15, 5);
        break;
    }
}

void DrawToolListItem(TListBox* List, TTeeCustomToolClass ToolClass, int Index, const TRect& Rect)
{
    TCanvas* c = List->Canvas();
    c->FillRect(Rect);
    TBitmap picture;
    DrawToolPicture(ToolClass, &picture);
    c->Draw(Rect.Left + 2, Rect.Top + 1, &picture);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(Rect.Left + 22, Rect.Top + 2, List->Items()->Get(Index));
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
    LBTool->SetStyle(lbOwnerDrawFixed);
    LBTool->SetItemHeight(18);
    LBTool->OnDrawItem = [this](TWinControl*, int Index, const TRect& Rect, TOwnerDrawState) {
        DrawToolListItem(LBTool, reinterpret_cast<TTeeCustomToolClass>(LBTool->Items()->GetObject(Index)), Index, Rect);
    };
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
