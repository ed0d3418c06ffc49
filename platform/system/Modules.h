// Modules of the program's own (shared objects loaded when first needed, so that start-up
// neither loads nor binds the libraries behind them).
#pragma once

#include <string>

// Opens the module named Name beside the running program (a program moved with its
// modules), else at BuildPath (where the build put it). Null when neither opens, with
// the loader's reason in Why.
void* OpenProgramModule(const std::string& Name, const std::string& BuildPath, std::string& Why);
