// Chart data export: the points of one series, or of every series of a chart, as
// delimited text, XML, an HTML table or a binary worksheet.
#pragma once

#include "RizUridu.h"
#include "TeEngine.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TSeriesData : public TTeeExportData {
public:
    DECLARE_CLASS_NAME(TSeriesData)
    // Chart is the source when Series is null (every series, in the chart's order).
    TSeriesData(TCustomAxisPanel* Chart, TChartSeries* Series);

    bool IncludeColors = false;
    bool IncludeIndex = false;
    bool IncludeHeader = false;
    bool IncludeLabels = true;
    TCustomAxisPanel* Chart;
    TChartSeries* Series;

    // Column flags: which optional columns the export has.
    enum : uint8_t { cfX = 1, cfColors = 2, cfLabels = 4 };
    uint8_t Flags = 0;

    std::string GetText() override;
    // Sets the column flags from the reference series and the Include options.
    virtual void Prepare();
    // Appends row Index's text (without the line end) to Row; nothing here. The formats'
    // rows come from this slot, each written straight into the export's text.
    virtual void FormatPointRow(int Index, std::string& Row);

    // The rows: the point count of Series, else the largest over the chart's series; -1
    // when the chart has no series.
    int MaxPointCount() const;
    // The series exported, in order.
    std::vector<TChartSeries*> ExportedSeries() const;
    // "#rrggbb" of the colour (system colours resolved).
    static std::string ColorText(TColor Color);
    // A series' value lists in the export's column order: the X (not-mandatory) list,
    // the Y (mandatory) list, then the further lists in the series' order.
    static std::vector<TChartValueList*> ColumnLists(TChartSeries* Series);

protected:
    // Appends each row (FormatPointRow) and a line end to Out.
    void AppendRows(std::string& Out);
    bool HasX() const { return (Flags & cfX) != 0; }
    bool HasColors() const { return (Flags & cfColors) != 0; }
    bool HasLabels() const { return (Flags & cfLabels) != 0; }
    // The header titles of a series' value columns in the text and HTML forms: its X list's
    // name (with X values), then its title when it has one value list besides X, else the
    // further lists' names.
    std::vector<std::string> ValueColumnTitles(TChartSeries* Series) const;
    // Taken by Prepare: the exported series and their column lists.
    std::vector<TChartSeries*> FExported;
    std::vector<std::vector<TChartValueList*>> FLists;
};

class TSeriesDataText : public TSeriesData {
public:
    DECLARE_CLASS_NAME(TSeriesDataText)
    TSeriesDataText(TCustomAxisPanel* Chart, TChartSeries* Series);

    // One character, in UTF-8 (any number of bytes).
    std::string Delimiter = "\t";
    // Put around quoted cells (labels, names, date-times); a cell holding the delimiter,
    // a quote or a line break is quoted also when this is empty (with '"').
    std::string TextQuotes;
    // Number mask for the values; empty: the general format.
    std::string ValueFormat;

    std::string GetText() override;
    void Prepare() override;
    void FormatPointRow(int Index, std::string& Row) override;

private:
    void AppendCell(std::string& Out, const std::string& Text, bool Quoted);
    void AppendValue(std::string& Out, TChartValueList* List, int Index);
};

class TSeriesDataXML : public TSeriesData {
public:
    DECLARE_CLASS_NAME(TSeriesDataXML)
    TSeriesDataXML(TCustomAxisPanel* Chart, TChartSeries* Series);
    // The declared encoding; the text is always written in UTF-8.
    std::string Encoding = "UTF-8";
    std::string GetText() override;

private:
    void AppendSeries(std::string& Out, TChartSeries* S);
};

class TSeriesDataHTML : public TSeriesData {
public:
    DECLARE_CLASS_NAME(TSeriesDataHTML)
    using TSeriesData::TSeriesData;
    std::string GetText() override;
    void FormatPointRow(int Index, std::string& Row) override;
};

// The worksheet in the oldest binary spreadsheet record format. Its text form (copying)
// is one empty line per row.
class TSeriesDataXLS : public TSeriesData {
public:
    DECLARE_CLASS_NAME(TSeriesDataXLS)
    using TSeriesData::TSeriesData;
    // Checks the sheet's limits first (ERangeError: no series, more than 65535 rows or
    // 256 columns), so that nothing is written for a sheet that cannot be. Labels are
    // written in the Windows Latin-1 code page, which the sheet's code-page record names.
    void WriteTextToStream(TStream* Stream) override;
};

// Text escaped for XML and HTML content and attribute values: markup characters as entities,
// tabs and line breaks as character references (an attribute value keeps them so).
std::string XmlEscape(const std::string& Text);
// A valid XML name from any text (invalid characters become "_").
std::string XmlName(const std::string& Text);

// ---- registry ----------------------------------------------------------------------

// What the export dialog's Data page sets for a text export.
struct TDataExportChoices {
    // One character, in UTF-8.
    std::string Delimiter = "\t";
    std::string TextQuotes;
};

// Makes a format's exporter for Series (null: every series of Chart), set from Choices.
using TDataExportCreate = std::unique_ptr<TSeriesData> (*)(TCustomAxisPanel* Chart, TChartSeries* Series,
                                                           const TDataExportChoices& Choices);

// A data format as the export dialog offers it: its caption on the Data page, its
// save-dialog filter entries and the exporter it makes.
struct TDataExportFormat {
    std::string Caption;
    // "description|pattern" entries joined by "|": one, or with ByDelimiter one per
    // delimiter choice of the Data page, in that order.
    std::string FileFilter;
    TDataExportCreate Create = nullptr;
    // The delimiter choice applies to it (and picks its filter entry).
    bool ByDelimiter = false;
    // Its text can go on the clipboard (a binary worksheet's cannot).
    bool CanCopy = true;
};

// The registered data formats in registration order; null until the first registration.
using TDataExportFormats = std::vector<TDataExportFormat>;
extern std::unique_ptr<TDataExportFormats> DataExportFormatRegistry;

void RegisterDataExportFormat(const TDataExportFormat& Format);
void UnregisterDataExportFormat(TDataExportCreate Create);

// Registers the text, XML, HTML and worksheet formats; the finalisation undoes it and frees
// the registry.
void DataExportInitialization();
void DataExportFinalization();
