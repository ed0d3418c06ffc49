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

// The module's table of calls (a Calls), loaded once by the first caller on any thread.
// When it cannot be loaded, the exception that Failure makes of the reason is thrown,
// and the next call tries again.
template <class Calls, class Failure>
const Calls& ProgramModule(const char* Name, const char* BuildPath, const char* Entry, Failure failure)
{
    static const Calls& calls = [&]() -> const Calls& {
        std::string why;
        if (const void* table = ProgramModuleCalls(Name, BuildPath, Entry, why))
            return *static_cast<const Calls*>(table);
        throw failure(why);
    }();
    return calls;
}
