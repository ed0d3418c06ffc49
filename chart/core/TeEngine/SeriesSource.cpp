#include "TeEngine/SeriesSource.h"

#include "TeEngine/AxisPanel.h"
#include "TeEngine/Series.h"
#include "TeEngine/SeriesWatcher.h"
#include "system/ScopeGuard.h"

BEGIN_CLASS_INFO(TTeeSeriesSource, TComponent)
    .ComponentFactory()
    .Bool("Active", &TTeeSeriesSource::Active, &TTeeSeriesSource::SetActive).Default(false)
    .Reference("Series", &TTeeSeriesSource::Series, &TTeeSeriesSource::SetSeries)
END_CLASS_INFO

void TTeeSeriesSource::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TTeeSeriesSource*>(Source)) {
        AssignProperties(this, s);
        return;
    }
    TComponent::Assign(Source);
}

namespace {
std::unique_ptr<std::vector<const TClassInfo*>>& SourceClasses()
{
    static std::unique_ptr<std::vector<const TClassInfo*>> list;
    return list;
}
} // namespace

std::vector<const TClassInfo*>* SeriesSourceClassList()
{
    auto& list = SourceClasses();
    if (!list)
        list = std::make_unique<std::vector<const TClassInfo*>>();
    return list.get();
}

void FreeSeriesSourceClassList()
{
    SourceClasses().reset();
}

TTeeSeriesSource::TTeeSeriesSource(TComponent* AOwner)
    : TComponent(AOwner), FWatcher(std::make_unique<TSeriesWatcher>([this](TChartSeries* S) {
          if (S == FSeries)
              FSeries = nullptr;
      }))
{
}

TTeeSeriesSource::~TTeeSeriesSource()
{
    // A source that goes leaves the series' points as they are: it only stops being
    // active. The series hears of it through its own link and drops the source.
    Destroying();
    Close();
    FActive = false;
}

void TTeeSeriesSource::SetActive(bool Value)
{
    if (Value != FActive && FSeries != nullptr) {
        if (Value) {
            if (!IsLoading())
                LoadData();
        } else if (!IsDestroying() && !FSeries->IsDestroying()) {
            FSeries->Clear();
        }
    }
    FActive = Value;
}

void TTeeSeriesSource::Open()
{
    SetActive(true);
}

void TTeeSeriesSource::Close()
{
    if (!IsLoading() && !IsDestroying())
        SetActive(false);
}

bool TTeeSeriesSource::IsSourceOfSeries(const TChartSeries* S) const
{
    if (S == nullptr)
        return false;
    const TComponent* source = S->DataSource();
    return source != nullptr && SameText(source->ClassName(), ClassName());
}

void TTeeSeriesSource::SetSeries(TChartSeries* Value)
{
    if (Value == FSeries)
        return;
    Close();
    TChartSeries* old = FSeries;
    if (old != nullptr) {
        FWatcher->Unwatch(old);
        FSeries = nullptr;
        // Only this source leaves the old series; its other sources stay.
        if (old->DataSources()->IndexOf(this) >= 0)
            old->RemoveDataSource(this);
    }
    if (Value == nullptr)
        return;
    FSeries = Value;
    FWatcher->Watch(Value);
    // While streaming the series may not be in its chart yet: Loaded links it. A chart
    // that refuses the source leaves the source without a series.
    if (!IsLoading() && Value->ParentChart() != nullptr) {
        auto refused = TScopeGuard([this, Value] {
            FWatcher->Unwatch(Value);
            FSeries = nullptr;
        });
        Value->SetDataSource(this);
        refused.Dismiss();
    }
}

void TTeeSeriesSource::LinkSeries()
{
    if (FSeries == nullptr || FSeries->DataSource() == this)
        return;
    TCustomAxisPanel* chart = FSeries->ParentChart();
    if (chart != nullptr && chart->IsValidDataSource(FSeries, this))
        FSeries->SetDataSource(this);
}

void TTeeSeriesSource::Loaded()
{
    TComponent::Loaded();
    LinkSeries();
    if (FActive && FSeries != nullptr)
        LoadData();
}
