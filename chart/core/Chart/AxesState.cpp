// The axes' state a zoom or pan saves, and the undo that puts it back.
#include "Chart/CustomChart.h"

#include <algorithm>

void TCustomChart::SaveAxesState()
{
    FSavedAxes.clear();
    for (TChartAxis* a : Axes()->List()) {
        // Nothing of the depth axes is kept.
        if (a->IsDepthAxis())
            continue;
        FSavedAxes.push_back(TSavedAxis{.Axis = a,
                                        .Automatic = a->Automatic(),
                                        .AutomaticMinimum = a->AutomaticMinimum(),
                                        .AutomaticMaximum = a->AutomaticMaximum(),
                                        .Minimum = a->Minimum(),
                                        .Maximum = a->Maximum()});
    }
}

void TCustomChart::AxisFreed(TChartAxis* Axis)
{
    std::erase_if(FSavedAxes, [Axis](const TSavedAxis& s) { return s.Axis == Axis; });
}

void TCustomChart::RestoreAxesState()
{
    // An axis added since the save has nothing to restore.
    for (const TSavedAxis& s : FSavedAxes) {
        TChartAxis* a = s.Axis;
        a->SetAutomatic(s.Automatic);
        a->SetAutomaticMinimum(s.AutomaticMinimum);
        a->SetAutomaticMaximum(s.AutomaticMaximum);
        // The ends go back in the order that never puts the minimum above the maximum
        // on the way (a zoomed range may lie wholly below or above the saved one).
        if (s.Minimum > a->Maximum()) {
            a->SetMaximum(s.Maximum);
            a->SetMinimum(s.Minimum);
        } else {
            a->SetMinimum(s.Minimum);
            a->SetMaximum(s.Maximum);
        }
    }
    FSavedAxes.clear();
}

void TCustomChart::UndoZoom()
{
    if (!NothingSaved) {
        RestoreAxesState();
        NothingSaved = true;
    }
    TCustomAxisPanel::UndoZoom();
}
