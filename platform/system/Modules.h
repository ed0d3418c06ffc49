// Modules of the program's own (shared objects loaded when first needed, so that start-up
// neither loads nor binds the libraries behind them).
#pragma once

#include <string>

// Each module exports one function, Entry, without arguments, that gives the address of
// its table of calls. ProgramModuleCalls opens the module named Name beside the running
// program (a program moved with its modules), else at BuildPath (where the build put it),
// and gives that table. Null when neither opens or the entry is missing, with the reason
// in Why.
const void* ProgramModuleCalls(const std::string& Name, const std::string& BuildPath, const char* Entry,
                               std::string& Why);
