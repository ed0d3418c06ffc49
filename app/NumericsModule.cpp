#include "NumericsModule.h"

#include "system/Modules.h"
#include "system/SysUtils.h"

#include <string>

const TNumericsModule& NumericsModule()
{
    // Loaded once, by the first caller on any thread; a failed load is tried again at the
    // next call.
    static const TNumericsModule& calls = []() -> const TNumericsModule& {
        std::string why;
        if (const void* table = ProgramModuleCalls(NUMERICS_MODULE_NAME, NUMERICS_MODULE_PATH, "NumericsCalls", why))
            return *static_cast<const TNumericsModule*>(table);
        throw Exception("The numerical library could not be loaded (" + why + ")");
    }();
    return calls;
}
