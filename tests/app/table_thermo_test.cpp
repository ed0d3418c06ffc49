// The .TBL table: rows of a known model, the link to the report, and the file writing.
#include "Unit2/RunCore.h"
#include "Unit2/ThermoTable.h"

#include "system/SysUtils.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

// The row's fields, empty ones (from double tabs) dropped.
std::vector<std::string> Fields(const std::string& row)
{
    std::vector<std::string> out;
    std::istringstream in(row);
    for (std::string f; std::getline(in, f, '\t');)
        if (!f.empty())
            out.push_back(f);
    return out;
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);)
        lines.push_back(l.empty() || l.back() != '\r' ? l : l.substr(0, l.size() - 1));
    return lines;
}

} // namespace

TEST(ThermoTable, RowsOfAKnownModel)
{
    const std::vector<double> a = {1.0, 0.5}, theta = {300.0, 4000.0};   // at 5 K the second u is 800
    const std::vector<std::string> lines = ThermoTableLines({"ier = 1"}, a, theta);
    ASSERT_EQ(lines.size(), 1u + 3 + 44);
    EXPECT_EQ(lines[0], "ier = 1");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "T\t\tCp(T)\t\tS(T)\t\tF(T)\t\tH(T)-H(0)");
    EXPECT_EQ(lines[3], "K\t\tJ/(mol*K)\tJ/(mol*K)\tJ/(mol*K)\tkJ/mol");
    EXPECT_EQ(lines[4].rfind("5\t\t0.00000\t\t", 0), 0u) << lines[4];
    EXPECT_EQ(lines[4 + 30].rfind("298.15\t\t", 0), 0u);
    EXPECT_EQ(lines.back().rfind("1500\t\t", 0), 0u);

    const std::regex fixedRow(R"(^[\d.]+\t\t\d+\.\d+\t\t-?\d+\.\d{3}\t\t-?\d+\.\d{3}\t\t\d+\.\d{3}$)");
    const std::regex smallRow(R"(^[\d.]+\t\t\d+\.\d+\t\t\d\.\d{3}e[+-]\d+\t-?\d\.\d{2}e[+-]\d+\t\t\d\.\d{3}e[+-]\d+$)");
    int fixedRows = 0;
    for (std::size_t r = 4; r < lines.size(); ++r) {
        const std::vector<std::string> v = Fields(lines[r]);
        ASSERT_EQ(v.size(), 5u) << lines[r];
        const double T = testsupport::Number(v[0]);
        long double cp = 0, s = 0, h = 0;   // reference in long double, terms with u > 700 left out
        for (int j = 0; j < 2; ++j) {
            const long double u = theta[j] / T, d = std::expm1(u), R3a = 3 * 8.3144621L * a[j];
            if (u > 700)
                continue;
            cp += R3a * u * u * std::exp(u) / (d * d);
            s += R3a * (u / d - std::log(1 - std::exp(-u)));
            h += R3a * theta[j] / d;
        }
        const int decimals = cp < 1 ? 5 : cp < 10 ? 4 : 3;
        EXPECT_EQ(v[1].size() - v[1].find('.') - 1, static_cast<std::size_t>(decimals)) << lines[r];
        EXPECT_NEAR(testsupport::Number(v[1]), static_cast<double>(cp), 0.51 * std::pow(10.0, -decimals));
        const double S = testsupport::Number(v[2]), F = testsupport::Number(v[3]), H = testsupport::Number(v[4]) * 1000;
        if (h > 1000) {
            ++fixedRows;
            EXPECT_TRUE(std::regex_match(lines[r], fixedRow)) << lines[r];
            EXPECT_NEAR(S, static_cast<double>(s), 0.0005 + 1e-9);
            EXPECT_NEAR(H, static_cast<double>(h), 0.5 + 1e-6);
            EXPECT_NEAR(F, S - H / T, 0.0005 + 1e-9) << lines[r];   // from the rounded S and H
        } else {
            EXPECT_TRUE(std::regex_match(lines[r], smallRow)) << lines[r];
            EXPECT_NEAR(S / s, 1.0, 0.0006);
            EXPECT_NEAR(H / h, 1.0, 0.0006);
            EXPECT_NEAR(F / (S - H / T), 1.0, 0.006) << lines[r];
        }
    }
    EXPECT_GT(fixedRows, 10);
    EXPECT_LT(fixedRows, 44);
}

TEST(ThermoTable, EntropyAt298MatchesTheReport)
{
    TPointArray T{}, Cp{};
    for (int i = 1; i <= 30; ++i) {
        T[i] = 6.0 * i;
        Cp[i] = ThreeR * (0.4 * EinsteinE(90.0 / T[i]) + 0.7 * EinsteinE(420.0 / T[i])) * (1 + 0.01 * std::sin(i));
    }
    TRunInput in;
    in.n = 4, in.M = 30, in.T = &T, in.Cp = &Cp;
    in.X[1] = 8.0, in.X[2] = 60.0, in.X[3] = 20.0, in.X[4] = 500.0;
    const TRunResult r = RunCore(in);
    ASSERT_TRUE(r.Solved);
    const std::vector<std::string> lines = ThermoTableLines(r.Report, r.a, r.Theta);
    EXPECT_TRUE(std::equal(r.Report.begin(), r.Report.end(), lines.begin()));
    const std::string& sLine = r.Report[r.Report.size() - 6];
    ASSERT_EQ(sLine.rfind("S(298.15) ~ ", 0), 0u);
    const std::vector<std::string> row = Fields(lines[r.Report.size() + 3 + 30]);
    ASSERT_EQ(row[0], "298.15");
    EXPECT_NEAR(testsupport::Number(row[2]), testsupport::Number(sLine.substr(12)), 0.0055);
}

TEST(ThermoTable, SaveReplacesTheTableWholeOrNotAtAll)
{
    const std::string dir = testsupport::TempDir();
    const std::string table = dir + "/sample.TBL";
    const std::vector<double> a = {1.0}, theta = {250.0};
    std::ofstream(table) << "old table\n";
    EXPECT_EQ(SaveThermoTable(dir + "/sample.dat", {"ier = 1"}, a, theta), table);
    EXPECT_EQ(ReadLines(table), ThermoTableLines({"ier = 1"}, a, theta));

    // The disk fills up while writing (the file size limit stops the write as a full disk
    // would): the table stays as it was, the error names it and the system's reason.
    std::ofstream(table) << "old table\n";
    try {
        testsupport::TFileSizeLimit limit(100);
        SaveThermoTable(dir + "/sample.dat", {}, a, theta);
        ADD_FAILURE() << "no error raised";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Cannot write file \"" + table + "\". " + SysErrorMessage(EFBIG));
    }
    EXPECT_EQ(ReadLines(table), std::vector<std::string>{"old table"});

    // The target cannot be replaced (a folder with content): no temporary file is left.
    std::filesystem::create_directories(dir + "/blocked.TBL/inner");
    EXPECT_THROW(SaveThermoTable(dir + "/blocked.dat", {}, a, theta), EFCreateError);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"blocked.TBL", "sample.TBL"}));
    EXPECT_THROW(SaveThermoTable(dir + "/missing/sample.dat", {}, a, theta), EFCreateError);
}

TEST(ThermoTable, ADataFileWithALongNameGetsItsTableAndStaysAsItWas)
{
    // Names up to the file system's 255 bytes: the table's temporary file must not pass
    // that limit, nor be the data file itself (a data file named like it).
    const std::string dir = testsupport::TempDir() + "/long names";
    std::filesystem::create_directories(dir);
    std::string cyrillic;
    for (int i = 0; i < 125; ++i)
        cyrillic += "\xD0\xB6";
    const std::vector<double> a = {1.0}, theta = {250.0};
    for (const std::string& data : {dir + "/" + cyrillic + ".dat", dir + "/" + std::string(251, 's') + ".tmp"}) {
        std::ofstream(data) << "data\n";
        const std::string table = ChangeFileExt(data, ".TBL");
        std::string saved;
        ASSERT_NO_THROW(saved = SaveThermoTable(data, {"ier = 1"}, a, theta)) << data;
        EXPECT_EQ(saved, table);
        EXPECT_EQ(ReadLines(table), ThermoTableLines({"ier = 1"}, a, theta));
        EXPECT_EQ(ReadLines(data), std::vector<std::string>{"data"});
    }
    // Nothing else is left in the folder: the two data files and their tables.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 4);
}

TEST(ThermoTable, ADataFileNamedLikeATableIsNeverOverwritten)
{
    // The table of a data file named *.TBL gets ".TBL" added to the whole name (cut to the
    // file system's limit of 255 bytes), so the data stay; a hard link is the same file too.
    const std::string dir = testsupport::TempDir() + "/data named TBL";
    std::filesystem::create_directories(dir);
    const std::vector<double> a = {1.0}, theta = {250.0};
    const std::string linked = dir + "/linked.dat";
    std::ofstream(linked) << "data\n";
    std::filesystem::create_hard_link(linked, dir + "/linked.TBL");
    const std::string longData = dir + "/" + std::string(251, 's') + ".TBL";
    const std::pair<std::string, std::string> cases[] = {
        {dir + "/copper.TBL", dir + "/copper.TBL.TBL"},
        {longData, dir + "/" + std::string(250, 's') + ".TBL"},
        {linked, linked + ".TBL"},
    };
    for (const auto& [data, table] : cases) {
        if (data != linked)
            std::ofstream(data) << "data\n";
        std::string saved;
        ASSERT_NO_THROW(saved = SaveThermoTable(data, {"ier = 1"}, a, theta)) << data;
        EXPECT_EQ(saved, table);
        EXPECT_EQ(ReadLines(table), ThermoTableLines({"ier = 1"}, a, theta)) << table;
        EXPECT_EQ(ReadLines(data), std::vector<std::string>{"data"}) << data;
    }
}

TEST(ThermoTable, AReadOnlyTableIsRefusedAndLeftAsItWas)
{
    const std::string dir = testsupport::TempDir() + "/read-only table";
    std::filesystem::create_directories(dir);
    const std::string table = dir + "/sample.TBL";
    std::ofstream(table) << "kept table\n";
    std::filesystem::permissions(table, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    try {
        SaveThermoTable(dir + "/sample.dat", {"ier = 1"}, {1.0}, {250.0});
        ADD_FAILURE() << "no error raised";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + table + "\". The file is read-only");
    }
    EXPECT_EQ(ReadLines(table), std::vector<std::string>{"kept table"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
}
