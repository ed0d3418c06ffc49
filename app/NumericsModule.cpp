#include "NumericsModule.h"

#include "system/Modules.h"
#include "system/SysUtils.h"

#include <string>

const TNumericsModule& NumericsModule()
{
    return ProgramModule<TNumericsModule>(NUMERICS_MODULE_NAME, NUMERICS_MODULE_PATH, "NumericsCalls",
                                          [](const std::string& why) {
                                              return Exception("The numerical library could not be loaded (" + why + ")");
                                          });
}
