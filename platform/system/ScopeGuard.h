// Restore-on-exit: runs an action when the scope ends, however it ends (also when an
// exception leaves it).
#pragma once

#include <utility>

template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F Action) : FAction(std::move(Action)) {}
    ~ScopeExit() { FAction(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F FAction;
};

// Gives Variable a value for the rest of the scope and puts the old one back on exit:
//   auto filling = RestoreOnExit(FFilling, true);
template <class T, class V>
[[nodiscard]] auto RestoreOnExit(T& Variable, V&& Value)
{
    T old = std::move(Variable);
    Variable = std::forward<V>(Value);
    return ScopeExit([&Variable, old = std::move(old)]() mutable { Variable = std::move(old); });
}
