// Restore-on-exit: a guard runs its action when the scope ends, whether the scope ends
// normally or by an exception. Code that changes state for a while (a canvas attached
// elsewhere, a flag set during a call) restores it through a guard instead of a
// hand-written catch-and-rethrow.
#pragma once

#include <utility>

template <class F>
class TScopeGuard {
public:
    explicit TScopeGuard(F Action) : FAction(std::move(Action)) {}
    ~TScopeGuard()
    {
        if (FArmed)
            FAction();
    }
    TScopeGuard(const TScopeGuard&) = delete;
    TScopeGuard& operator=(const TScopeGuard&) = delete;
    // The action will not run.
    void Dismiss() { FArmed = false; }

private:
    F FAction;
    bool FArmed = true;
};

// A guard that puts Variable back to its present value when the scope ends.
template <class T>
auto RestoreOnExit(T& Variable)
{
    return TScopeGuard([&Variable, Saved = Variable]() mutable { Variable = std::move(Saved); });
}
