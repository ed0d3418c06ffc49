#include "NumericsModule.h"

#include "system/SysUtils.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>

namespace {

// The folder of the running program, with its final '/'; empty when unknown.
std::string ProgramFolder()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    const std::string exe(path, static_cast<size_t>(n));
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

// The module beside the program first (a program moved with its module), then where the
// build put it.
void* OpenModule(std::string& why)
{
    const std::string besideProgram = ProgramFolder() + NUMERICS_MODULE_NAME;
    for (const std::string& path : {besideProgram, std::string(NUMERICS_MODULE_PATH)}) {
        if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            return handle;
        const char* error = dlerror();
        why = error != nullptr ? error : path;
    }
    return nullptr;
}

TNumericsModule LoadModule()
{
    std::string why;
    void* handle = OpenModule(why);
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
