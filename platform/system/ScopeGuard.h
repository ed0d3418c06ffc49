// Restore-on-exit: a guard runs its action when the scope ends, whether the scope ends
// normally or by an exception. Code that changes state for a while (a canvas attached
// elsewhere, a flag set during a call) restores it through a guard instead of a
// hand-written catch-and-rethrow.
#pragma once

#include <exception>
#include <utility>

// The action runs when the guard goes out of scope. On a normal exit an error of the
// action propagates; while another exception unwinds the scope, an error of the action
// is dropped so that the first one arrives.
template <class F>
class TScopeGuard {
public:
    explicit TScopeGuard(F Action) : FAction(std::move(Action)), FUncaught(std::uncaught_exceptions()) {}
    ~TScopeGuard() noexcept(false)
    {
        if (!FArmed)
            return;
        if (std::uncaught_exceptions() > FUncaught) {
            try {
                FAction();
            } catch (...) {
            }
        } else {
            FAction();
        }
    }
    TScopeGuard(const TScopeGuard&) = delete;
    TScopeGuard& operator=(const TScopeGuard&) = delete;
    // The action will not run.
    void Dismiss() { FArmed = false; }

private:
    F FAction;
    int FUncaught;
    bool FArmed = true;
};

// A guard that puts Variable back to its present value when the scope ends.
template <class T>
auto RestoreOnExit(T& Variable)
{
    return TScopeGuard([&Variable, Saved = Variable]() mutable { Variable = std::move(Saved); });
}
