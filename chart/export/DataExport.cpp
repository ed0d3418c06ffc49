#include "DataExport.h"

#include "Chart.h"
#include "classes/Streams.h"
#include "system/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace {

const char* const CrLf = "\r\n";

void AppendHex2(std::string& Out, int v)
{
    static const char hex[] = "0123456789abcdef";
    Out += hex[(v >> 4) & 15];
    Out += hex[v & 15];
}

bool HasPoint(const TChartSeries* S, int Index)
{
    return Index >= 0 && Index < S->Count();
}

} // namespace

// ---- escaping ------------------------------------------------------------------------

std::string XmlEscape(const std::string& Text)
{
    std::string out;
    out.reserve(Text.size());
    for (char c : Text)
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        // A reader turns a literal tab or line break in an attribute value into a blank.
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default:
            // Other control characters have no place in XML.
            out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    return out;
}

std::string XmlName(const std::string& Text)
{
    std::string out;
    for (char c : Text) {
        const auto u = static_cast<unsigned char>(c);
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
                        || c == '.' || u >= 0x80;
        out += ok ? c : '_';
    }
    if (out.empty() || (out[0] >= '0' && out[0] <= '9') || out[0] == '-' || out[0] == '.')
        out.insert(out.begin(), '_');
    return out;
}

// ---- base ------------------------------------------------------------------------------

TSeriesData::TSeriesData(TCustomAxisPanel* AChart, TChartSeries* ASeries) : Chart(AChart), Series(ASeries)
{
    IncludeLabels = true;
}

std::vector<TChartSeries*> TSeriesData::ExportedSeries() const
{
    if (Series)
        return {Series};
    std::vector<TChartSeries*> all;
    if (Chart)
        for (int i = 0; i < Chart->SeriesCount(); ++i)
            all.push_back(Chart->Series(i));
    return all;
}

int TSeriesData::MaxPointCount() const
{
    if (Series)
        return Series->Count();
    if (!Chart || Chart->SeriesCount() == 0)
        return -1;
    int most = 0;
    for (TChartSeries* s : ExportedSeries())
        most = std::max(most, s->Count());
    return most;
}

std::vector<TChartValueList*> TSeriesData::ColumnLists(TChartSeries* S)
{
    std::vector<TChartValueList*> lists{S->NotMandatoryValueList(), S->MandatoryValueList()};
    const TChartValueLists* all = S->ValuesList();
    for (int i = 2; i < all->Count(); ++i)
        lists.push_back((*all)[i]);
    return lists;
}

std::vector<std::string> TSeriesData::ValueColumnTitles(TChartSeries* S) const
{
    const std::vector<TChartValueList*> lists = ColumnLists(S);
    std::vector<std::string> titles;
    if (HasX())
        titles.push_back(lists[0]->Name());
    if (S->ValuesList()->Count() == 2)
        titles.push_back(S->Title());
    else
        for (size_t l = 1; l < lists.size(); ++l)
            titles.push_back(lists[l]->Name());
    return titles;
}

void TSeriesData::Prepare()
{
    FExported = ExportedSeries();
    FLists.clear();
    for (TChartSeries* s : FExported)
        FLists.push_back(ColumnLists(s));
    TChartSeries* reference = Series;
    if (!reference)
        for (TChartSeries* s : ExportedSeries())
            if (s->Count() > 0) {
                reference = s;
                break;
            }
    if (reference)
        Flags = reference->SeriesDataFlags() & (cfX | cfColors | cfLabels);
    if (!IncludeLabels)
        Flags &= ~cfLabels;
    if (!IncludeColors)
        Flags &= ~cfColors;
}

std::string TSeriesData::ColorText(TColor Color)
{
    const TColor rgb = ColorToDrawRGB(Color);
    std::string out = "#";
    AppendHex2(out, GetRValue(rgb));
    AppendHex2(out, GetGValue(rgb));
    AppendHex2(out, GetBValue(rgb));
    return out;
}

void TSeriesData::FormatPointRow(int, std::string&)
{
}

void TSeriesData::AppendRows(std::string& Out)
{
    const int rows = MaxPointCount();
    for (int i = 0; i < rows; ++i) {
        FormatPointRow(i, Out);
        Out += CrLf;
    }
}

std::string TSeriesData::GetText()
{
    Prepare();
    std::string out;
    AppendRows(out);
    return out;
}

// ---- delimited text --------------------------------------------------------------------

TSeriesDataText::TSeriesDataText(TCustomAxisPanel* AChart, TChartSeries* ASeries) : TSeriesData(AChart, ASeries)
{
    Delimiter = "\t";
    TextQuotes.clear();
}

void TSeriesDataText::Prepare()
{
    TSeriesData::Prepare();
    if (!Series && IncludeLabels && !HasLabels())
        for (TChartSeries* s : ExportedSeries())
            if (s->Points().HasLabels()) {
                Flags |= cfLabels;
                break;
            }
}

void TSeriesDataText::AppendCell(std::string& Out, const std::string& Text, bool Quoted)
{
    const std::string& quote = TextQuotes.empty() ? std::string("\"") : TextQuotes;
    const bool needs = (!Delimiter.empty() && Text.find(Delimiter) != std::string::npos)
                       || Text.find_first_of("\r\n") != std::string::npos || Text.find(quote) != std::string::npos;
    if (!needs) {
        if (Quoted)
            Out += TextQuotes;
        Out += Text;
        if (Quoted)
            Out += TextQuotes;
        return;
    }
    // The quote inside the cell is doubled, so that a reader can tell it from the end.
    Out += quote;
    Out += StringReplaceAll(Text, quote, quote + quote);
    Out += quote;
}

void TSeriesDataText::AppendValue(std::string& Out, TChartValueList* List, int Index)
{
    const double v = List->Value(Index);
    if (List->DateTime()) {
        AppendCell(Out, DateTimeToStr(v), true);
        return;
    }
    if (!ValueFormat.empty()) {
        AppendCell(Out, FormatFloat(ValueFormat, v), false);
        return;
    }
    const size_t start = Out.size();
    AppendFloatText(Out, v, FormatSettings());
    // A decimal comma under a comma delimiter: the number is quoted, not split.
    if (!Delimiter.empty() && Out.find(Delimiter, start) != std::string::npos) {
        const std::string number = Out.substr(start);
        Out.resize(start);
        AppendCell(Out, number, false);
    }
}

void TSeriesDataText::FormatPointRow(int Index, std::string& Row)
{
    bool first = true;
    auto next = [&] {
        if (!first)
            Row += Delimiter;
        first = false;
    };
    if (IncludeIndex) {
        next();
        Row += IntToStr(Index);
    }
    const std::vector<TChartSeries*>& all = FExported;
    for (size_t n = 0; n < all.size(); ++n) {
        TChartSeries* s = all[n];
        const bool has = HasPoint(s, Index);
        if (n == 0) {
            if (HasLabels()) {
                next();
                std::string label;
                if (Series) {
                    if (has)
                        label = s->Labels()->Label(Index);
                } else {
                    for (TChartSeries* other : all)
                        if (HasPoint(other, Index) && !(label = other->Labels()->Label(Index)).empty())
                            break;
                }
                if (!label.empty())
                    AppendCell(Row, label, true);
            }
            if (HasColors()) {
                next();
                if (has)
                    Row += ColorText(s->ValueColor(Index));
            }
        }
        const std::vector<TChartValueList*>& lists = FLists[n];
        for (size_t l = HasX() ? 0 : 1; l < lists.size(); ++l) {
            next();
            if (has)
                AppendValue(Row, lists[l], Index);
        }
    }
}

std::string TSeriesDataText::GetText()
{
    Prepare();
    std::string out;
    const int rows = MaxPointCount();
    if (IncludeHeader) {
        bool first = true;
        auto word = [&](const std::string& Text) {
            if (!first)
                out += Delimiter;
            first = false;
            AppendCell(out, Text, true);
        };
        if (IncludeIndex)
            word("Index");
        if (HasLabels())
            word("Text");
        if (HasColors())
            word("Colors");
        for (TChartSeries* s : ExportedSeries())
            for (const std::string& title : ValueColumnTitles(s))
                word(title);
        out += CrLf;
    }
    if (rows > 0)
        out.reserve(out.size() + size_t(rows) * 24);
    AppendRows(out);
    out += CrLf;
    return out;
}

// ---- XML -----------------------------------------------------------------------------------

TSeriesDataXML::TSeriesDataXML(TCustomAxisPanel* AChart, TChartSeries* ASeries) : TSeriesData(AChart, ASeries)
{
    IncludeHeader = true;
}

void TSeriesDataXML::AppendSeries(std::string& Out, TChartSeries* S)
{
    Out += "<series title=\"" + XmlEscape(S->Title()) + "\" type=\"" + XmlEscape(GalleryNameOfSeries(S))
           + "\" color=\"" + ColorText(S->SeriesColor()) + "\">\r\n";
    Out += "<points count=\"" + IntToStr(S->Count()) + "\">\r\n";
    // Attribute names: the fixed ones, then one per value list, each name used once.
    const std::vector<TChartValueList*> lists = ColumnLists(S);
    std::set<std::string> used{"index", "text", "color"};
    std::vector<std::string> names;
    for (TChartValueList* l : lists) {
        std::string name = XmlName(l->Name());
        for (int k = 2; used.count(name); ++k)
            name = XmlName(l->Name()) + "_" + IntToStr(k);
        used.insert(name);
        names.push_back(" " + name + "=\"");
    }
    const TFormatSettings& fs = FormatSettings();
    const int count = S->Count();
    Out.reserve(Out.size() + size_t(count) * 40);
    for (int i = 0; i < count; ++i) {
        Out += "<point";
        if (IncludeIndex) {
            Out += " index=\"";
            Out += IntToStr(i);
            Out += '"';
        } else {
            Out += ' ';
        }
        if (HasLabels()) {
            Out += " text=\"";
            Out += XmlEscape(S->Labels()->Label(i));
            Out += '"';
        }
        if (HasColors()) {
            Out += " color=\"";
            Out += ColorText(S->ValueColor(i));
            Out += '"';
        }
        for (size_t l = HasX() ? 0 : 1; l < lists.size(); ++l) {
            Out += names[l];
            AppendFloatText(Out, lists[l]->Value(i), fs);
            Out += '"';
        }
        Out += "/>\r\n";
    }
    Out += "</points>\r\n</series>\r\n\r\n";
}

std::string TSeriesDataXML::GetText()
{
    Prepare();
    std::string out;
    if (IncludeHeader) {
        out += "<?xml version=\"1.0\"";
        if (!Encoding.empty())
            out += " encoding=\"" + XmlEscape(Encoding) + "\"";
        out += "?>\r\n";
    }
    if (Series) {
        AppendSeries(out, Series);
    } else {
        out += "<chart>\r\n";
        for (TChartSeries* s : ExportedSeries())
            AppendSeries(out, s);
        out += "</chart>";
    }
    return out;
}

// ---- HTML table ------------------------------------------------------------------------

void TSeriesDataHTML::FormatPointRow(int Index, std::string& Row)
{
    auto cell = [&](const std::string& Text) {
        Row += "<td>";
        Row += Text;
        Row += "</td>";
    };
    Row += "<tr>";
    if (IncludeIndex)
        cell(IntToStr(Index));
    const TFormatSettings& fs = FormatSettings();
    for (size_t n = 0; n < FExported.size(); ++n) {
        TChartSeries* s = FExported[n];
        const bool has = HasPoint(s, Index);
        if (HasLabels())
            cell(has ? XmlEscape(s->Labels()->Label(Index)) : std::string());
        if (HasColors())
            cell(has ? ColorText(s->ValueColor(Index)) : std::string());
        const std::vector<TChartValueList*>& lists = FLists[n];
        for (size_t l = HasX() ? 0 : 1; l < lists.size(); ++l) {
            Row += "<td>";
            if (has)
                AppendFloatText(Row, lists[l]->Value(Index), fs);
            Row += "</td>";
        }
    }
    Row += "</tr>";
}

std::string TSeriesDataHTML::GetText()
{
    Prepare();
    std::string out = "<table border=\"1\">\r\n";
    if (IncludeHeader) {
        auto cell = [&](const std::string& Text) { out += "<td>" + XmlEscape(Text) + "</td>"; };
        out += "<tr>";
        if (IncludeIndex)
            cell("Index");
        for (TChartSeries* s : ExportedSeries()) {
            if (HasLabels())
                cell("Text");
            if (HasColors())
                cell("Colors");
            for (const std::string& title : ValueColumnTitles(s))
                cell(title);
        }
        out += "</tr>\r\n";
    }
    AppendRows(out);
    out += "\r\n</table>";
    return out;
}

// ---- worksheet ---------------------------------------------------------------------------

namespace {

// The Windows Latin-1 (code page 1252) byte of a character, "?" for one it lacks.
char Latin1Windows(char32_t Code)
{
    // The characters of bytes 0x80 to 0x9F; 0 where the code page has none.
    static const char16_t high[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                      0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    if (Code < 0x80 || (Code >= 0xA0 && Code <= 0xFF))
        return static_cast<char>(Code);
    for (int k = 0; k < 32; ++k)
        if (high[k] != 0 && high[k] == Code)
            return static_cast<char>(0x80 + k);
    return '?';
}

class SheetWriter {
public:
    explicit SheetWriter(TStream* Stream) : FStream(Stream) {}
    void Word(uint16_t v)
    {
        FBuffer.push_back(uint8_t(v));
        FBuffer.push_back(uint8_t(v >> 8));
    }
    void Bytes(const void* p, size_t n)
    {
        const auto* b = static_cast<const uint8_t*>(p);
        FBuffer.insert(FBuffer.end(), b, b + n);
    }
    // A cell record: type, length, row, column, three attribute bytes, data.
    void Cell(uint16_t Type, uint16_t DataBytes)
    {
        Word(Type);
        Word(uint16_t(DataBytes + 7));
        Word(FRow);
        Word(FColumn++);
        FBuffer.insert(FBuffer.end(), 3, 0);
    }
    void Number(double v)
    {
        Cell(0x0003, 8);
        uint8_t b[8];
        std::memcpy(b, &v, 8);   // little-endian IEEE double on the machines built for
        Bytes(b, 8);
    }
    // The text in the sheet's code page (Windows Latin-1; characters it lacks become "?"),
    // at most 255 characters.
    void Label(const std::string& Text)
    {
        std::string bytes;
        for (size_t i = 0; i < Text.size() && bytes.size() < 255;)
            bytes += Latin1Windows(NextUtf8Char(Text, i));
        Cell(0x0004, uint16_t(1 + bytes.size()));
        FBuffer.push_back(uint8_t(bytes.size()));
        Bytes(bytes.data(), bytes.size());
    }
    void Blank() { Cell(0x0001, 0); }
    void NextRow(uint16_t Row)
    {
        FRow = Row;
        FColumn = 0;
        if (FBuffer.size() >= 1 << 16)
            Flush();
    }
    void Flush()
    {
        if (!FBuffer.empty())
            FStream->WriteBuffer(FBuffer.data(), int64_t(FBuffer.size()));
        FBuffer.clear();
    }

private:
    TStream* FStream;
    std::vector<uint8_t> FBuffer;
    uint16_t FRow = 0, FColumn = 0;
};

} // namespace

void TSeriesDataXLS::WriteTextToStream(TStream* Stream)
{
    Prepare();
    const std::vector<TChartSeries*> all = ExportedSeries();
    const int rows = MaxPointCount();
    const int64_t rowLimit = int64_t(rows) + (IncludeHeader ? 1 : 0);
    int64_t columns = IncludeIndex ? 1 : 0;
    const int64_t perBit = int64_t(all.size());
    columns += perBit * ((HasLabels() ? 1 : 0) + (HasColors() ? 1 : 0) + (HasX() ? 1 : 0));
    for (TChartSeries* s : all)
        columns += s->ValuesList()->Count() - 1;
    if (all.empty() || rows < 0 || rowLimit > 65535 || columns > 256)
        throw ERangeError();

    SheetWriter w(Stream);
    static const uint8_t bof[] = {0x09, 0x08, 0x08, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00};
    w.Bytes(bof, sizeof bof);
    w.Word(0x0042);   // CODEPAGE: Windows Latin-1, as this record format numbers it
    w.Word(2);
    w.Word(0x8001);
    w.Word(0x0200);   // DIMENSIONS
    w.Word(10);
    w.Word(0);
    w.Word(uint16_t(rowLimit));
    w.Word(0);
    w.Word(uint16_t(columns));
    w.Word(0);

    const uint16_t first = IncludeHeader ? 1 : 0;
    if (IncludeHeader) {
        w.NextRow(0);
        if (IncludeIndex)
            w.Label("Index");
        for (TChartSeries* s : all) {
            if (HasLabels())
                w.Label("Text");
            if (HasColors())
                w.Label("Colors");
            const std::vector<TChartValueList*> lists = ColumnLists(s);
            for (size_t l = HasX() ? 0 : 1; l < lists.size(); ++l)
                w.Label(lists[l]->Name());
        }
    }
    for (int i = 0; i < rows; ++i) {
        w.NextRow(uint16_t(i + first));
        if (IncludeIndex)
            w.Number(i);
        for (TChartSeries* s : all) {
            const bool has = HasPoint(s, i);
            if (HasLabels())
                w.Label(has ? s->Labels()->Label(i) : std::string());
            if (HasColors())
                w.Label(has ? ColorText(s->ValueColor(i)) : std::string());
            const std::vector<TChartValueList*> lists = ColumnLists(s);
            if (HasX()) {
                if (has)
                    w.Number(lists[0]->Value(i));
                else
                    w.Blank();
            }
            const bool values = has && !s->IsNull(i);
            for (size_t l = 1; l < lists.size(); ++l) {
                if (values)
                    w.Number(lists[l]->Value(i));
                else
                    w.Blank();
            }
        }
    }
    static const uint8_t eof[] = {0x0A, 0x00, 0x00, 0x00};
    w.Bytes(eof, sizeof eof);
    w.Flush();
}

// ---- registry ----------------------------------------------------------------------

std::unique_ptr<TDataExportFormats> DataExportFormatRegistry;

namespace {

std::unique_ptr<TSeriesData> CreateText(TCustomAxisPanel* Chart, TChartSeries* Series,
                                        const TDataExportChoices& Choices)
{
    auto text = std::make_unique<TSeriesDataText>(Chart, Series);
    text->Delimiter = Choices.Delimiter;
    text->TextQuotes = Choices.TextQuotes;
    return text;
}

template <class T>
std::unique_ptr<TSeriesData> CreateExporter(TCustomAxisPanel* Chart, TChartSeries* Series, const TDataExportChoices&)
{
    return std::make_unique<T>(Chart, Series);
}

} // namespace

void RegisterDataExportFormat(const TDataExportFormat& Format)
{
    if (!DataExportFormatRegistry)
        DataExportFormatRegistry = std::make_unique<TDataExportFormats>();
    DataExportFormatRegistry->push_back(Format);
}

void UnregisterDataExportFormat(TDataExportCreate Create)
{
    if (!DataExportFormatRegistry)
        return;
    std::erase_if(*DataExportFormatRegistry, [Create](const TDataExportFormat& f) { return f.Create == Create; });
}

void DataExportInitialization()
{
    RegisterDataExportFormat({"Text",
                              "Space delimited text files (*.txt)|*.txt|Tab delimited text files (*.txt)|*.txt|"
                              "Comma delimited text files (*.csv)|*.csv|Colon delimited text files (*.txt)|*.txt|"
                              "Custom delimited text files (*.txt)|*.txt",
                              &CreateText, true, true});
    RegisterDataExportFormat({"XML", "XML files (*.xml)|*.xml", &CreateExporter<TSeriesDataXML>, false, true});
    RegisterDataExportFormat({"HTML Table", "HTML files (*.htm)|*.htm", &CreateExporter<TSeriesDataHTML>, false, true});
    RegisterDataExportFormat(
        {"Excel", "Microsoft Excel files (*.xls)|*.xls", &CreateExporter<TSeriesDataXLS>, false, false});
}

void DataExportFinalization()
{
    UnregisterDataExportFormat(&CreateExporter<TSeriesDataXLS>);
    UnregisterDataExportFormat(&CreateExporter<TSeriesDataHTML>);
    UnregisterDataExportFormat(&CreateExporter<TSeriesDataXML>);
    UnregisterDataExportFormat(&CreateText);
    DataExportFormatRegistry.reset();
}
