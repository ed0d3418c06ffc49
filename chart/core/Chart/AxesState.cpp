// The axes' state a zoom or pan saves, and the undo that puts it back.
#include "Chart/CustomChart.h"

#include <algorithm>

void TCustomChart::SaveAxesState()
{
    FSavedAxes.assign(static_cast<size_t>(Axes()->Count()), TSavedAxis{});
    for (int t = 0; t < Axes()->Count(); ++t) {
        const TChartAxis* a = Axes()->Items(t);
        // Depth axes keep their place in the list but nothing of theirs is kept.
        if (a->IsDepthAxis())
            continue;
        TSavedAxis& s = FSavedAxes[static_cast<size_t>(t)];
        s.Automatic = a->Automatic();
        s.AutomaticMinimum = a->AutomaticMinimum();
        s.AutomaticMaximum = a->AutomaticMaximum();
        s.Minimum = a->Minimum();
        s.Maximum = a->Maximum();
    }
}

void TCustomChart::RestoreAxesState()
{
    // An axis added since the save has nothing to restore.
    const int n = std::min(Axes()->Count(), static_cast<int>(FSavedAxes.size()));
    for (int t = 0; t < n; ++t) {
        TChartAxis* a = Axes()->Items(t);
        if (a->IsDepthAxis())
            continue;
        const TSavedAxis& s = FSavedAxes[static_cast<size_t>(t)];
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
