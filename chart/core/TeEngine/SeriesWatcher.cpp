#include "TeEngine/SeriesWatcher.h"

#include "TeEngine/Series.h"

#include <algorithm>

TSeriesWatcher::TSeriesWatcher(std::function<void(TChartSeries*)> OnFreed)
    : TComponent(nullptr), FOnFreed(std::move(OnFreed))
{
}

TSeriesWatcher::~TSeriesWatcher()
{
    // The series need not tell a watcher that is gone.
    for (const auto& [component, series] : FWatched)
        RemoveFreeNotification(component);
    FWatched.clear();
}

void TSeriesWatcher::Watch(TChartSeries* S)
{
    if (S == nullptr || Watches(S))
        return;
    TComponent* component = S;
    FWatched.emplace_back(component, S);
    FreeNotification(component);
}

void TSeriesWatcher::Unwatch(TChartSeries* S)
{
    const auto it = std::find_if(FWatched.begin(), FWatched.end(), [S](const auto& e) { return e.second == S; });
    if (it == FWatched.end())
        return;
    TComponent* component = it->first;
    FWatched.erase(it);
    RemoveFreeNotification(component);
}

bool TSeriesWatcher::Watches(const TChartSeries* S) const
{
    return std::any_of(FWatched.begin(), FWatched.end(), [S](const auto& e) { return e.second == S; });
}

void TSeriesWatcher::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    const auto it =
        std::find_if(FWatched.begin(), FWatched.end(), [AComponent](const auto& e) { return e.first == AComponent; });
    if (it == FWatched.end())
        return;
    TChartSeries* series = it->second;
    FWatched.erase(it);
    if (FOnFreed)
        FOnFreed(series);
}
