#include "TestSupport.h"

#include <QDir>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QTemporaryDir>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace testsupport {

std::string ArtifactsDir()
{
    const char* dir = std::getenv("TEST_ARTIFACTS_DIR");
    return dir && *dir ? std::string(dir) : std::string();
}

std::string ArtifactPath(const std::string& fileName)
{
    const std::string dir = ArtifactsDir();
    if (dir.empty())
        return {};
    QDir().mkpath(QString::fromStdString(dir));
    return dir + "/" + fileName;
}

std::string TempDir()
{
    static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    dirs.push_back(std::make_unique<QTemporaryDir>());
    return dirs.back()->path().toStdString();
}

double Number(std::string_view Text)
{
    while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t'))
        Text.remove_prefix(1);
    if (!Text.empty() && Text.front() == '+')
        Text.remove_prefix(1);
    double v = NAN;
    if (std::from_chars(Text.data(), Text.data() + Text.size(), v).ec != std::errc())
        return NAN;
    return v;
}

namespace {
const char* const ChildRoleVariable = "TEST_CHILD_ROLE";
}

std::string ChildRole()
{
    const char* role = std::getenv(ChildRoleVariable);
    return role ? std::string(role) : std::string();
}

int StartChild(const std::string& Role)
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string program = "/proc/self/exe";
    std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    std::vector<char*> args = {program.data(), filter.data(), nullptr};
    std::vector<std::string> variables;
    for (char** v = environ; *v != nullptr; ++v)
        if (std::string_view(*v).rfind(std::string(ChildRoleVariable) + "=", 0) != 0)
            variables.emplace_back(*v);
    variables.push_back(std::string(ChildRoleVariable) + "=" + Role);
    std::vector<char*> env;
    for (std::string& v : variables)
        env.push_back(v.data());
    env.push_back(nullptr);
    // The child's own test report is of no interest; its faults come on its error output.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int err = posix_spawn(&pid, program.c_str(), &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    return err == 0 ? pid : -1;
}

int WaitChild(int Pid)
{
    int status = 0;
    if (Pid <= 0 || waitpid(Pid, &status, 0) != Pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool ChildRunning(int Pid)
{
    siginfo_t info {};
    return waitid(P_PID, id_t(Pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
}

void EndChild(int Code)
{
    std::fflush(nullptr);
    _exit(Code);
}

TFileSizeLimit::TFileSizeLimit(unsigned long Bytes)
{
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    FSaved = limit.rlim_cur;
    FHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = Bytes;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        ADD_FAILURE() << "the file size limit stays";
}

TFileSizeLimit::~TFileSizeLimit()
{
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = FSaved;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, FHandler);
}

} // namespace testsupport
