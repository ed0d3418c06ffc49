#include "NumericsModule.h"

#include "system/Modules.h"
#include "system/SysUtils.h"

#include <dlfcn.h>

#include <string>

namespace {

TNumericsModule LoadModule()
{
    std::string why;
    void* handle = OpenProgramModule(NUMERICS_MODULE_NAME, NUMERICS_MODULE_PATH, why);
    TNumericsModule calls{};
    if (handle != nullptr) {
        calls.LmFit = reinterpret_cast<decltype(calls.LmFit)>(dlsym(handle, "NumericsLmFit"));
        calls.Invert = reinterpret_cast<decltype(calls.Invert)>(dlsym(handle, "NumericsInvert"));
        if (calls.LmFit == nullptr || calls.Invert == nullptr)
            why = "its functions are missing";
    }
    if (calls.LmFit == nullptr || calls.Invert == nullptr)
        throw Exception("The numerical library could not be loaded (" + why + ")");
    return calls;
}

} // namespace

const TNumericsModule& NumericsModule()
{
    // Loaded once, by the first caller on any thread; a failed load is tried again at the
    // next call.
    static const TNumericsModule calls = LoadModule();
    return calls;
}
