// Start-up: the program started as a child process until its main window is shown and
// painted (HCAPPROX_QUIT_WHEN_SHOWN ends it right after that first paint), beside the
// floor, a minimal Qt Widgets program (bench/floor/minimal_window.cpp) started and ended
// the same way. The two run in turn, program then floor, once per iteration; the figures
// are medians: wall and processor time (user + system of the child) of each, and the
// medians of the per-pair ratios. The iteration's time is the program's wall time.
// Target: the program within 1.5 times the floor.
// "Offscreen" runs without a display; "Display" runs on the X display named by DISPLAY
// (a virtual one will do: Xvfb :7 & DISPLAY=:7), closer to what users see.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Sample {
    double Wall = 0;   // seconds
    double Cpu = 0;    // seconds, user + system
};

double Seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; }

// The environment of the child: ours, with the platform plugin and the quit rule set.
std::vector<std::string> ChildEnvironment(const char* Platform)
{
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0 && std::strncmp(*e, "HCAPPROX_QUIT_WHEN_SHOWN=", 25) != 0)
            env.emplace_back(*e);
    env.emplace_back(std::string("QT_QPA_PLATFORM=") + Platform);
    env.emplace_back("HCAPPROX_QUIT_WHEN_SHOWN=1");
    return env;
}

// A child that has not ended after this long never will: it is killed and reported.
constexpr int kChildTimeoutMs = 30000;
constexpr const char* kChildFailed = "a child did not start, or did not end with status 0 within 30 s of its start";

// Starts Path with its output thrown away and waits for it; false when it did not end
// with status 0 within the time-out.
bool RunOnce(const char* Path, const std::vector<std::string>& Env, Sample& Out)
{
    std::vector<char*> envp;
    for (const std::string& e : Env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(Path), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, Path, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    // Woken when the child ends (or at the time-out), then reaped with its accounting.
    bool ended = false;
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        pollfd p{pidfd, POLLIN, 0};
        ended = poll(&p, 1, kChildTimeoutMs) == 1;
        close(pidfd);
    }
    if (!ended && pidfd >= 0)
        kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || (pidfd >= 0 && !ended))
        return false;
    Out.Wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Out.Cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void StartUp(benchmark::State& State, const char* Platform)
{
    if (std::strcmp(Platform, "xcb") == 0 && std::getenv("DISPLAY") == nullptr) {
        State.SkipWithError("no DISPLAY: start a virtual display (Xvfb :7 &) and set DISPLAY=:7");
        return;
    }
    const std::vector<std::string> env = ChildEnvironment(Platform);
    Sample program, floor;
    // One unmeasured pair first, so that both start from warm file caches.
    if (!RunOnce(HCAPPROX_PATH, env, program) || !RunOnce(FLOOR_PATH, env, floor)) {
        State.SkipWithError(kChildFailed);
        return;
    }
    std::vector<double> programWall, floorWall, programCpu, floorCpu, wallRatio, cpuRatio;
    for (auto _ : State) {
        if (!RunOnce(HCAPPROX_PATH, env, program) || !RunOnce(FLOOR_PATH, env, floor)) {
            State.SkipWithError(kChildFailed);
            return;
        }
        State.SetIterationTime(program.Wall);
        programWall.push_back(program.Wall);
        floorWall.push_back(floor.Wall);
        programCpu.push_back(program.Cpu);
        floorCpu.push_back(floor.Cpu);
        wallRatio.push_back(program.Wall / floor.Wall);
        cpuRatio.push_back(floor.Cpu > 0 ? program.Cpu / floor.Cpu : 0);
    }
    State.counters["wall_ms"] = Median(programWall) * 1e3;
    State.counters["floor_wall_ms"] = Median(floorWall) * 1e3;
    State.counters["wall_ratio"] = Median(wallRatio);
    State.counters["cpu_ms"] = Median(programCpu) * 1e3;
    State.counters["floor_cpu_ms"] = Median(floorCpu) * 1e3;
    State.counters["cpu_ratio"] = Median(cpuRatio);
    double load[1] = {0};
    if (getloadavg(load, 1) == 1)
        State.counters["load1"] = load[0];
}

void BM_StartUpOffscreen(benchmark::State& State) { StartUp(State, "offscreen"); }
void BM_StartUpDisplay(benchmark::State& State) { StartUp(State, "xcb"); }

BENCHMARK(BM_StartUpOffscreen)->Iterations(41)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpDisplay)->Iterations(41)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
