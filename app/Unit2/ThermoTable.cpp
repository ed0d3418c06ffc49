#include "Unit2/ThermoTable.h"

#include "Lev_Marq.h"
#include "Unit2/RunCore.h"
#include "classes/Classes.h"
#include "classes/Streams.h"
#include "system/SysUtils.h"

#include <cmath>
#include <filesystem>
#include <system_error>

namespace {

// The value as the file shows it: printed with the picture and read back.
double Rounded(const char* picture, double value)
{
    double back = value;
    if (TryStrToFloat(FormatFloat(picture, value), back))
        return back;
    return value;
}

} // namespace

std::vector<double> ThermoTableTemperatures()
{
    std::vector<double> list;
    list.push_back(5.0);
    for (int t = 10; t <= 290; t += 10)
        list.push_back(t);
    list.push_back(298.15);
    for (int t = 300; t <= 1500; t += 100)
        list.push_back(t);
    return list;
}

std::string ThermoTableRow(const std::vector<double>& a, const std::vector<double>& theta, double T)
{
    // Terms above the cap are negligible at this temperature and left out.
    const double Cp = EinsteinSumCp(a, theta, T, true);
    double H = 0.0;
    for (std::size_t j = 0; j < a.size(); ++j) {
        double u = 0.0;
        if (CappedU(theta[j], T, true, u))
            H += ThreeR * a[j] * theta[j] * EinsteinEnthalpyFactor(u);
    }
    // The same entropy as the report's S(298.15).
    double S = EinsteinSumEntropy(a, theta, T, nullptr);

    const char* cpPicture = Cp < 1 ? "0.00000" : Cp < 10 ? "0.0000" : "0.000";
    const std::string head = FloatToStr(T) + "\t\t" + FormatFloat(cpPicture, Cp) + "\t\t";
    if (H > 1000) {
        S = Rounded("0.000", S);
        H = Rounded("0.000", H / 1000) * 1000;
        return head + FormatFloat("0.000", S) + "\t\t" + FormatFloat("0.000", S - H / T) + "\t\t" +
               FormatFloat("0.000", H / 1000);
    }
    S = Rounded("0.000e+0", S);
    H = Rounded("0.000e+0", H / 1000) * 1000;
    return head + FormatFloat("0.000e+0", S) + "\t" + FormatFloat("0.00e+0", S - H / T) + "\t\t" +
           FormatFloat("0.000e+0", H / 1000);
}

std::vector<std::string> ThermoTableLines(const std::vector<std::string>& report,
                                          const std::vector<double>& a,
                                          const std::vector<double>& theta)
{
    std::vector<std::string> lines = report;
    lines.push_back("");
    lines.push_back("T\t\tCp(T)\t\tS(T)\t\tF(T)\t\tH(T)-H(0)");
    lines.push_back("K\t\tJ/(mol*K)\tJ/(mol*K)\tJ/(mol*K)\tkJ/mol");
    for (double T : ThermoTableTemperatures())
        lines.push_back(ThermoTableRow(a, theta, T));
    return lines;
}

std::string ThermoTableFileName(const std::string& dataFileName)
{
    const std::string table = ChangeFileExt(dataFileName, ".TBL");
    std::error_code ec;
    const bool isData = table == dataFileName || std::filesystem::equivalent(table, dataFileName, ec);
    if (!isData)
        return table;
    // A data file that is itself named *.TBL keeps its data: the table gets ".TBL" added to
    // the data file's whole name (cut to the file system's limit, never the data file).
    return FileNameBeside(dataFileName, ".TBL", dataFileName);
}

std::string SaveThermoTable(const std::string& dataFileName, const std::vector<std::string>& report,
                            const std::vector<double>& a, const std::vector<double>& theta)
{
    const std::string target = ThermoTableFileName(dataFileName);
    TStringList list;
    for (const std::string& line : ThermoTableLines(report, a, theta))
        list.Add(line);
    // Whole or not at all, through a temporary file of its own (never the data file).
    WriteFileReplacing(target, [&list](TStream* Stream) { list.SaveToStream(Stream); });
    return target;
}
