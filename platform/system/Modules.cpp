#include "Modules.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

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

} // namespace

const void* ProgramModuleCalls(const std::string& Name, const std::string& BuildPath, const char* Entry,
                               std::string& Why)
{
    for (const std::string& path : {ProgramFolder() + Name, BuildPath}) {
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* error = dlerror();
            Why = error != nullptr ? error : path;
            continue;
        }
        using TEntry = const void* (*)();
        if (auto entry = reinterpret_cast<TEntry>(dlsym(handle, Entry)))
            return entry();
        Why = "its functions are missing";
        return nullptr;
    }
    return nullptr;
}
