#include "Parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class TThreadPool {
public:
    TThreadPool()
    {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned i = 1; i < cores; ++i)
            FThreads.emplace_back([this] { WorkerLoop(); });
    }
    ~TThreadPool()
    {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FQuit = true;
        }
        FWake.notify_all();
        for (std::thread& t : FThreads)
            t.join();
    }
    int Threads() const { return static_cast<int>(FThreads.size()) + 1; }

    void Run(int Count, const std::function<void(int)>& Body)
    {
        std::lock_guard<std::mutex> one(FCallMutex);   // one call at a time
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FBody = &Body;
            FCount = Count;
            FNext = 0;
            FError = nullptr;
            FBusy = static_cast<int>(FThreads.size());
            ++FGeneration;
        }
        FWake.notify_all();
        TakeItems();
        std::unique_lock<std::mutex> lock(FMutex);
        FDone.wait(lock, [this] { return FBusy == 0; });
        FBody = nullptr;
        if (FError)
            std::rethrow_exception(FError);
    }

private:
    void TakeItems()
    {
        for (;;) {
            const int item = FNext.fetch_add(1);
            if (item >= FCount)
                return;
            try {
                (*FBody)(item);
            } catch (...) {
                std::lock_guard<std::mutex> lock(FMutex);
                if (!FError)
                    FError = std::current_exception();
            }
        }
    }
    void WorkerLoop()
    {
        unsigned long seen = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(FMutex);
                FWake.wait(lock, [&] { return FQuit || FGeneration != seen; });
                if (FQuit)
                    return;
                seen = FGeneration;
            }
            TakeItems();
            std::lock_guard<std::mutex> lock(FMutex);
            if (--FBusy == 0)
                FDone.notify_all();
        }
    }

    std::vector<std::thread> FThreads;
    std::mutex FCallMutex;
    std::mutex FMutex;
    std::condition_variable FWake;
    std::condition_variable FDone;
    const std::function<void(int)>* FBody = nullptr;
    int FCount = 0;
    std::atomic<int> FNext{0};
    int FBusy = 0;
    unsigned long FGeneration = 0;
    bool FQuit = false;
    std::exception_ptr FError;
};

TThreadPool& Pool()
{
    static TThreadPool pool;
    return pool;
}

} // namespace

int ParallelThreadCount()
{
    return Pool().Threads();
}

void ParallelFor(int Count, const std::function<void(int)>& Body)
{
    if (Count <= 0)
        return;
    Pool().Run(Count, Body);
}
