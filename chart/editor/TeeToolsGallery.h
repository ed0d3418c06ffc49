// The tools gallery: the registered tool classes on three tabs (series tools, axis
// tools, the others), one of which the user picks for a new tool.
#pragma once

#include "Chart.h"

#include "controls/ComCtrls.h"
#include "controls/Forms.h"
#include "controls/ListBoxes.h"
#include "controls/StdButtons.h"

class TTeeToolsGallery : public TForm {
public:
    DECLARE_CLASS_NAME(TTeeToolsGallery)
    explicit TTeeToolsGallery(TComponent* AOwner);

    TTabControl* TabControl1;
    TListBox* LBTool;
    TButton* BOk;
    TButton* BCan;

    // The class of the chosen item, or nullptr.
    TTeeCustomToolClass SelectedClass() const;

    void FormShow(TObject* Sender);
    // Lists the registered classes of the current tab.
    void FillList();
    void LBToolClick(TObject* Sender);
    void LBToolDblClick(TObject* Sender);

private:
    bool FTabsAdded = false;
};

// The tab a tool class belongs on: 0 series tools, 1 axis tools, 2 the others.
int ToolGalleryTab(TTeeCustomToolClass ToolClass);
// The class's description, read from a temporary instance.
std::string ToolClassDescription(TTeeCustomToolClass ToolClass);

// The picture of a tool class, 16 x 16: the bitmap named after the class when there is
// one, else a sign of its kind drawn here (a marked line for series tools, a ruler for
// axis tools, a wrench for the others).
void DrawToolPicture(TTeeCustomToolClass ToolClass, TBitmap* Bitmap);
// Draws an item of a tools list (the tools page's and the gallery's): the picture of the
// class at (left + 2, top + 1) and the item's text at (left + 22, top + 2).
void DrawToolListItem(TListBox* List, TTeeCustomToolClass ToolClass, int Index, const TRect& Rect);
