#include "SeriesEditors.h"

#include "system/SysUtils.h"

#include <cmath>

// ---- shared helpers --------------------------------------------------------------------

TChartSeries* TaggedSeries(const TForm* Form)
{
    return dynamic_cast<TChartSeries*>(reinterpret_cast<TObject*>(Form->Tag()));
}

TTabSheet* AddEditorTab(TForm* Form, TForm* Page, int PageIndex, const std::string& Caption, TObject* Tagged)
{
    auto* host = dynamic_cast<TTabSheet*>(Form->Parent());
    TPageControl* pages = host != nullptr ? host->PageControl() : nullptr;
    if (pages == nullptr) {
        delete Page;
        return nullptr;
    }
    auto* tab = new TTabSheet(Form);
    tab->SetCaption(Caption);
    tab->SetPageControl(pages);
    if (PageIndex >= 0)
        tab->SetPageIndex(PageIndex);
    // An empty built page takes the embedded form into its layout, filling it.
    BuildInto(tab, Form, {});
    EmbedFormInPanel(Page, tab, reinterpret_cast<intptr_t>(Tagged));
    return tab;
}

bool TypedNumber(const TEdit* Edit, double& Value)
{
    double typed = 0;
    if (!TryStrToFloat(Trim(Edit->Text()), typed) || !std::isfinite(typed))
        return false;
    Value = typed;
    return true;
}

bool SeriesIn3DChart(const TChartSeries* Series)
{
    return Series->ParentChart() != nullptr && Series->ParentChart()->View3D();
}

TSeriesPointerEditor* AddPointerTab(TForm* Form, TChartSeries* Series, const std::string& Caption)
{
    auto* editor = new TSeriesPointerEditor(Form);
    return AddEditorTab(Form, editor, -1, Caption, Series) != nullptr ? editor : nullptr;
}

void WhenNumber(TEdit* Edit, std::function<void()> Apply)
{
    Edit->OnChange = [Edit, Apply = std::move(Apply)](TObject*) {
        double value = 0;
        if (TypedNumber(Edit, value))
            Apply();
    };
}
