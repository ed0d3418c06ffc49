// The table of thermodynamic functions (Cp, S, F, H - H(0)) of the fitted Einstein sum,
// written after the report into a ".TBL" file next to the data file.
#pragma once

#include <string>
#include <vector>

// The 44 temperatures of the table (K): 5; 10 .. 290 by 10; 298.15; 300 .. 1500 by 100.
std::vector<double> ThermoTableTemperatures();

// One row of the table for temperature T; a_j in units of 3R, Theta_j in K.
std::string ThermoTableRow(const std::vector<double>& a, const std::vector<double>& theta, double T);

// The file's lines: the report, an empty line, the two header lines and the 44 rows.
std::vector<std::string> ThermoTableLines(const std::vector<std::string>& report,
                                          const std::vector<double>& a,
                                          const std::vector<double>& theta);

// The table's file name: the data file's name with its extension replaced by ".TBL", or,
// when that is the data file itself (a data file named *.TBL), the data file's name with
// ".TBL" added.
std::string ThermoTableFileName(const std::string& dataFileName);

// Writes the table next to the data file and returns the table's file name. The lines go
// to a temporary file first, which then replaces the target, so that a failed write
// leaves any earlier table whole. A file that cannot be written raises the platform's file
// error (EFCreateError or EInOutError).
std::string SaveThermoTable(const std::string& dataFileName, const std::vector<std::string>& report,
                            const std::vector<double>& a, const std::vector<double>& theta);
