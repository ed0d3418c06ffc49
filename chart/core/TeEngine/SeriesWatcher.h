// A hidden component that watches series for their destruction on behalf of objects that
// cannot, or must not, use their own free-notification link: collection items, and
// components whose mutual link a series drops when it forgets its data sources.
#pragma once

#include "classes/Classes.h"

#include <functional>
#include <utility>
#include <vector>

class TChartSeries;

class TSeriesWatcher : public TComponent {
public:
    DECLARE_CLASS_NAME(TSeriesWatcher)
    // Called with the series that is being destroyed (already past its own destructor:
    // compare the pointer, do not use the object).
    explicit TSeriesWatcher(std::function<void(TChartSeries*)> OnFreed);
    ~TSeriesWatcher() override;

    // Watching twice is watching once.
    void Watch(TChartSeries* S);
    void Unwatch(TChartSeries* S);
    bool Watches(const TChartSeries* S) const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Each series with its component pointer, taken while the series was whole.
    std::vector<std::pair<TComponent*, TChartSeries*>> FWatched;
    std::function<void(TChartSeries*)> FOnFreed;
};
