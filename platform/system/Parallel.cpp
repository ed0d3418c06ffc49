#include "Parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// One call's items, shared by the threads that take part in it. A thread that wakes after
// the call has ended finds no item left and never touches the body.
struct TParallelCall {
    const std::function<void(int)>* Body = nullptr;
    int Count = 0;
    std::atomic<int> Next{0};    // the next item to hand out
    std::atomic<int> Ended{0};   // items ended
    std::mutex ErrorMutex;
    std::exception_ptr Error;
};

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

    // The items go one at a time to whichever thread asks next, so a thread that is slow
    // or not yet awake holds up nothing but the item it has taken; the call returns once
    // every item has ended, without waiting for the other threads to wake and see it.
    void Run(int Count, const std::function<void(int)>& Body)
    {
        std::lock_guard<std::mutex> one(FCallMutex);   // one call at a time
        auto call = std::make_shared<TParallelCall>();
        call->Body = &Body;
        call->Count = Count;
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FCall = call;
            ++FGeneration;
        }
        // As many helpers as there are items besides the caller's first.
        if (Count - 1 >= static_cast<int>(FThreads.size())) {
            FWake.notify_all();
        } else {
            for (int k = 1; k < Count; ++k)
                FWake.notify_one();
        }
        TakeItems(*call);
        std::unique_lock<std::mutex> lock(FMutex);
        FDone.wait(lock, [&] { return call->Ended.load() == Count; });
        FCall.reset();
        if (call->Error)
            std::rethrow_exception(call->Error);
    }

private:
    void TakeItems(TParallelCall& call)
    {
        for (;;) {
            const int item = call.Next.fetch_add(1);
            if (item >= call.Count)
                return;
            try {
                (*call.Body)(item);
            } catch (...) {
                std::lock_guard<std::mutex> lock(call.ErrorMutex);
                if (!call.Error)
                    call.Error = std::current_exception();
            }
            if (call.Ended.fetch_add(1) + 1 == call.Count) {
                std::lock_guard<std::mutex> lock(FMutex);
                FDone.notify_all();
            }
        }
    }
    void WorkerLoop()
    {
        unsigned long seen = 0;
        for (;;) {
            std::shared_ptr<TParallelCall> call;
            {
                std::unique_lock<std::mutex> lock(FMutex);
                FWake.wait(lock, [&] { return FQuit || FGeneration != seen; });
                if (FQuit)
                    return;
                seen = FGeneration;
                call = FCall;
            }
            if (call)
                TakeItems(*call);
        }
    }

    std::vector<std::thread> FThreads;
    std::mutex FCallMutex;
    std::mutex FMutex;
    std::condition_variable FWake;
    std::condition_variable FDone;
    std::shared_ptr<TParallelCall> FCall;   // the call in progress
    unsigned long FGeneration = 0;
    bool FQuit = false;
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
