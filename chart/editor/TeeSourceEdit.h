// The base of data-source editor pages: a list of sources, an Apply button and a panel
// for the source's own controls; closing with changes not applied asks what to do.
#pragma once

#include "controls/FormBuilder.h"

class TChartSeries;

class TBaseSourceEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TBaseSourceEditor)
    explicit TBaseSourceEditor(TComponent* AOwner);

    TLabel* LLabel;
    TComboBox* CBSources;
    TButton* BApply;
    TPanel* Pan;

    // The edited series, taken from Tag when the page shows.
    TChartSeries* TheSeries() const { return FSeries; }
    // A query descendants may answer; False here.
    virtual bool IsValid(TComponent* AComponent) { return false; }

    void FormShow(TObject* Sender);
    void CBSourcesChange(TObject* Sender);
    // With changes not applied: "Apply Changes ?" with Yes, No and Cancel.
    void FormCloseQuery(TObject* Sender, bool& CanClose);

protected:
    TChartSeries* FSeries = nullptr;
    bool FOptionsChanged = false;
};
