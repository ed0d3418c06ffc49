// Helpers shared by the test programs.
#pragma once
#include <string>
#include <string_view>

namespace testsupport {

// Folder where rendering tests save their pictures (TEST_ARTIFACTS_DIR), or empty when unset.
std::string ArtifactsDir();

// Full path for an artifact named `fileName`, creating the folder; empty when artifacts are off.
std::string ArtifactPath(const std::string& fileName);

// A fresh, empty temporary folder for one test; removed when the test program ends.
std::string TempDir();

// The number at the start of Text (after blanks), read with "." as decimal point whatever the
// C library's locale, as the program writes its numbers; NaN when none stands there.
double Number(std::string_view Text);

// Tests that run a part of themselves in other processes: StartChild starts the test program
// again, running only the current test, with Role in its environment, and gives its process
// id. There ChildRole() is that Role (empty in the test's own process); the child does its
// part, reporting faults on its error output, and ends with EndChild. WaitChild gives a
// child's exit code (128 + the signal that ended it).
std::string ChildRole();
int StartChild(const std::string& Role);
int WaitChild(int Pid);
bool ChildRunning(int Pid);
[[noreturn]] void EndChild(int Code);

// While it lives, files this process writes stop at Bytes with "File too large", as
// writing stops on a full disk (the signal the system sends then is ignored).
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(unsigned long Bytes);
    ~TFileSizeLimit();
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    unsigned long FSaved;
    void (*FHandler)(int);
};

} // namespace testsupport
