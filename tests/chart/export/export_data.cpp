// Chart data export: delimited text, XML, HTML and the worksheet, each read back or
// compared byte for byte; hostile labels escaped or quoted; the worksheet's limits.
#include "export_fixture.h"

#include "DataExport.h"
#include "classes/Streams.h"
#include "system/ScopeGuard.h"

#include <QXmlStreamReader>

#include <cstring>

using namespace exporttest;

namespace {

const std::string Hostile = "<a href=\"x\">&\"',;";

struct SeriesDataExport : ExportChart {
    void SetUp() override
    {
        ExportChart::SetUp();
        // Two series of 3 and 5 points; the first has labels, one of them hostile.
        line->Clear();
        line->Add(1.5, "a");
        line->Add(2, Hostile);
        line->Add(3);
        points->Clear();
        for (int i = 0; i < 5; ++i)
            points->Add(10 + i);
    }
};

TEST_F(SeriesDataExport, DelimitedTextQuotesWhatWouldSplitACell)
{
    TSeriesDataText text(chart, nullptr);
    text.IncludeHeader = true;
    text.IncludeIndex = true;
    text.Delimiter = ',';
    text.TextQuotes = "\"";
    EXPECT_EQ(text.GetText(), "\"Index\",\"Text\",\"Series1\",\"Series2\"\r\n"
                              "0,\"a\",1.5,10\r\n"
                              "1,\"<a href=\"\"x\"\">&\"\"',;\",2,11\r\n"
                              "2,,3,12\r\n"
                              "3,,,13\r\n"
                              "4,,,14\r\n"
                              "\r\n");
    // Without quotes of its own, a cell holding the delimiter is still quoted; so is a
    // number with a decimal comma under a comma delimiter.
    TFormatSettings& fs = FormatSettings();
    auto restore = RestoreOnExit(fs.DecimalSeparator);
    fs.DecimalSeparator = ',';
    TSeriesDataText one(chart, line);
    one.Delimiter = ',';
    EXPECT_EQ(one.GetText(), "a,\"1,5\"\r\n\"<a href=\"\"x\"\">&\"\"',;\",2\r\n,3\r\n\r\n");
}

// A format that overrides the row slot changes every row of the text, header and end
// untouched; the inherited slot appends the row as the text export writes it.
TEST_F(SeriesDataExport, RowsComeFromTheRowSlot)
{
    struct TBracketedRows : TSeriesDataText {
        using TSeriesDataText::TSeriesDataText;
        void FormatPointRow(int Index, std::string& Row) override
        {
            Row += '[';
            TSeriesDataText::FormatPointRow(Index, Row);
            Row += ']';
        }
    };
    TBracketedRows text(chart, line);
    text.IncludeHeader = true;
    text.Delimiter = ';';
    EXPECT_EQ(text.GetText(), "Text;Series1\r\n[a;1.5]\r\n[\"<a href=\"\"x\"\">&\"\"',;\";2]\r\n[;3]\r\n\r\n");
    std::string row = "kept|";
    text.TSeriesDataText::FormatPointRow(2, row);
    EXPECT_EQ(row, "kept|;3");
}

TEST_F(SeriesDataExport, XmlReadsBackWithEscapedTexts)
{
    line->SetTitle("Cp \xC2\xB5 " + Hostile);
    TSeriesDataXML xml(chart, nullptr);
    xml.IncludeIndex = true;
    const std::string text = xml.GetText();
    EXPECT_EQ(text.substr(0, 40), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    QXmlStreamReader reader(QByteArray::fromStdString(text));
    std::vector<std::string> titles, labels, ys;
    std::string encoding;
    int pointCount = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartDocument)
            encoding = reader.documentEncoding().toString().toStdString();
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        if (reader.name() == u"series")
            titles.push_back(a.value("title").toString().toStdString());
        if (reader.name() == u"point") {
            ++pointCount;
            if (titles.size() == 1) {
                labels.push_back(a.value("text").toString().toStdString());
                ys.push_back(a.value("Y").toString().toStdString());
            }
        }
    }
    ASSERT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(encoding, "UTF-8");
    EXPECT_EQ(titles, (std::vector<std::string>{"Cp \xC2\xB5 " + Hostile, "Series2"}));
    EXPECT_EQ(labels, (std::vector<std::string>{"a", Hostile, ""}));
    EXPECT_EQ(ys, (std::vector<std::string>{"1.5", "2", "3"}));
    EXPECT_EQ(pointCount, 8);
}

TEST_F(SeriesDataExport, XmlKeepsTabsAndLineBreaksAndNamesNoAttributeByADigit)
{
    line->SetTitle("Cp\tT\r\nfit");
    line->SetLabel(0, "a\nb\tc");
    // A value list whose name starts with a digit.
    points->YValues()->SetName("3D");
    TSeriesDataXML xml(chart, nullptr);
    QXmlStreamReader reader(QByteArray::fromStdString(xml.GetText()));
    std::vector<std::string> titles;
    std::string label, y;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        if (reader.name() == u"series")
            titles.push_back(a.value("title").toString().toStdString());
        if (reader.name() == u"point" && titles.size() == 1 && label.empty())
            label = a.value("text").toString().toStdString();
        if (reader.name() == u"point" && titles.size() == 2 && y.empty()) {
            y = a.value("_3D").toString().toStdString();
        }
    }
    ASSERT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(titles[0], "Cp\tT\r\nfit");
    EXPECT_EQ(label, "a\nb\tc");
    EXPECT_EQ(y, "10");
    EXPECT_EQ(XmlName("3D"), "_3D");
    EXPECT_EQ(XmlName("D3"), "D3");
    EXPECT_EQ(XmlName("-x"), "_-x");
    EXPECT_EQ(XmlName(""), "_");
}

TEST_F(SeriesDataExport, ANonAsciiDelimiterIsWrittenWhole)
{
    TSeriesDataText text(chart, line);
    text.Delimiter = "\xE2\x80\xA2";   // a bullet, three bytes
    text.IncludeIndex = true;
    const std::string out = text.GetText();
    EXPECT_EQ(out.substr(0, out.find('\r')), "0\xE2\x80\xA2" "a\xE2\x80\xA2" "1.5");
    // A label holding the delimiter is quoted.
    line->SetLabel(0, "x\xE2\x80\xA2y");
    EXPECT_EQ(text.GetText().substr(0, 17), "0\xE2\x80\xA2\"x\xE2\x80\xA2y\"\xE2\x80\xA2" "1.5");
}

TEST_F(SeriesDataExport, HtmlTableHasTheCells)
{
    TSeriesDataHTML html(chart, nullptr);
    html.IncludeHeader = true;
    const std::string text = html.GetText();
    // Well-formed, so that any reader takes it; rows of the shorter series are empty cells.
    QXmlStreamReader reader(QByteArray::fromStdString(text));
    std::vector<std::vector<std::string>> rows;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"tr")
            rows.emplace_back();
        if (reader.isStartElement() && reader.name() == u"td")
            rows.back().push_back(reader.readElementText().toStdString());
    }
    ASSERT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Text", "Series1", "Text", "Series2"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{Hostile, "2", "", "11"}));
    EXPECT_EQ(rows[4], (std::vector<std::string>{"", "", "", "13"}));
    EXPECT_NE(text.find("<td>&lt;a href=&quot;x&quot;&gt;&amp;&quot;&apos;,;</td>"), std::string::npos);
}

TEST_F(SeriesDataExport, WorksheetBytesOfATwoByThreeTable)
{
    TPointSeries* s = points;
    s->Clear();
    s->AddPointXY(1, 2.5);
    s->AddNullPointXY(3, -4);
    TSeriesDataXLS xls(chart, s);
    xls.IncludeIndex = true;
    xls.IncludeHeader = true;
    TMemoryStream stream;
    xls.WriteTextToStream(&stream);
    const std::vector<uint8_t> expected = {
        0x09, 0x08, 0x08, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00,              // BOF
        0x42, 0x00, 0x02, 0x00, 0x01, 0x80,                                                  // code page 1252
        0x00, 0x02, 0x0A, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,  // 3 rows, 3 columns
        // header row: "Index", "X", "Y"
        0x04, 0x00, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 'I', 'n', 'd', 'e', 'x',
        0x04, 0x00, 0x09, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 'X',
        0x04, 0x00, 0x09, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01, 'Y',
        // row 1: 0, 1, 2.5
        0x03, 0x00, 0x0F, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0x00, 0x00,
        0x03, 0x00, 0x0F, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F,
        0x03, 0x00, 0x0F, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0x04, 0x40,
        // row 2: 1, 3, and a blank for the null point's value
        0x03, 0x00, 0x0F, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F,
        0x03, 0x00, 0x0F, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0x08, 0x40,
        0x01, 0x00, 0x07, 0x00, 0x02, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00,
        0x0A, 0x00, 0x00, 0x00,                                                                // EOF
    };
    const auto* data = reinterpret_cast<const uint8_t*>(stream.Memory());
    EXPECT_EQ(std::vector<uint8_t>(data, data + stream.Size()), expected);
}

TEST_F(SeriesDataExport, WorksheetRefusesWhatItCannotHoldBeforeWriting)
{
    TChart empty(nullptr);
    TMemoryStream stream;
    TSeriesDataXLS none(&empty, nullptr);
    EXPECT_THROW(none.WriteTextToStream(&stream), ERangeError);
    EXPECT_EQ(stream.Size(), 0);
    for (int i = 0; i < 65535; ++i)
        points->Add(i);
    TSeriesDataXLS big(chart, points);
    big.IncludeHeader = true;
    EXPECT_THROW(big.WriteTextToStream(&stream), ERangeError);
    EXPECT_EQ(stream.Size(), 0);
}

TEST_F(SeriesDataExport, WorksheetHoldsExactlyTwoHundredFiftySixColumns)
{
    // The index column and one column per line series of one point.
    TChart wide(nullptr);
    auto add = [&] {
        auto* s = new TLineSeries(form.get());
        s->Add(1);
        wide.AddSeries(s);
    };
    for (int i = 0; i < 255; ++i)
        add();
    TSeriesDataXLS xls(&wide, nullptr);
    xls.IncludeIndex = true;
    TMemoryStream stream;
    xls.WriteTextToStream(&stream);
    const auto* b = reinterpret_cast<const uint8_t*>(stream.Memory());
    ASSERT_GT(stream.Size(), 30);
    EXPECT_EQ(b[18] | (b[19] << 8), 0x0200);
    EXPECT_EQ(b[28] | (b[29] << 8), 256);   // the column limit of DIMENSIONS
    add();
    TMemoryStream refused;
    EXPECT_THROW(xls.WriteTextToStream(&refused), ERangeError);
    EXPECT_EQ(refused.Size(), 0);
}

} // namespace

namespace {

// The texts of a worksheet's LABEL records and the values of its NUMBER records, in order.
void ReadSheet(TMemoryStream& Stream, std::vector<std::string>& Labels, std::vector<double>& Numbers)
{
    const auto* b = reinterpret_cast<const uint8_t*>(Stream.Memory());
    for (size_t at = 0; at + 4 <= size_t(Stream.Size());) {
        const int type = b[at] | (b[at + 1] << 8), length = b[at + 2] | (b[at + 3] << 8);
        if (type == 0x0004)
            Labels.emplace_back(reinterpret_cast<const char*>(b + at + 12), b[at + 11]);
        if (type == 0x0003) {
            double v;
            std::memcpy(&v, b + at + 11, 8);
            Numbers.push_back(v);
        }
        at += 4 + size_t(length);
    }
}

TEST_F(SeriesDataExport, HorizontalSeriesHeaderFollowsItsRows)
{
    auto* h = new THorizLineSeries(form.get());
    h->AddPointXY(5, 7);   // X 5 (the mandatory list of a horizontal series), Y 7
    h->AddPointXY(6, 9);
    chart->AddSeries(h);
    TSeriesDataXLS xls(chart, h);
    xls.IncludeHeader = true;
    TMemoryStream stream;
    xls.WriteTextToStream(&stream);
    std::vector<std::string> labels;
    std::vector<double> numbers;
    ReadSheet(stream, labels, numbers);
    EXPECT_EQ(labels, (std::vector<std::string>{"Y", "X"}));
    EXPECT_EQ(numbers, (std::vector<double>{7, 5, 9, 6}));
}

} // namespace

namespace {

TEST_F(SeriesDataExport, WorksheetLabelsInTheirCodePageAtMostTwoHundredFiftyFiveCharacters)
{
    // Characters of the code page (o umlaut, sharp s, the euro sign) and one it lacks.
    line->SetLabel(0, "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC\xCE\xA9");
    std::string exactly, over;
    for (int i = 0; i < 255; ++i)
        exactly += "\xC3\xA9";   // two bytes each in UTF-8, one in the sheet
    over = exactly + "Z";
    line->SetLabel(1, exactly);
    line->SetLabel(2, over);
    TSeriesDataXLS xls(chart, line);
    TMemoryStream stream;
    xls.WriteTextToStream(&stream);
    const auto* b = reinterpret_cast<const uint8_t*>(stream.Memory());
    // The code-page record follows BOF: Windows Latin-1 as the record format numbers it.
    EXPECT_EQ(std::vector<uint8_t>(b + 12, b + 18), (std::vector<uint8_t>{0x42, 0x00, 0x02, 0x00, 0x01, 0x80}));
    std::vector<std::string> labels;
    std::vector<double> numbers;
    ReadSheet(stream, labels, numbers);
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0], "Gr\xF6\xDF" "e \x80?");
    EXPECT_EQ(labels[1], std::string(255, '\xE9'));
    EXPECT_EQ(labels[2], std::string(255, '\xE9'));
}

} // namespace
