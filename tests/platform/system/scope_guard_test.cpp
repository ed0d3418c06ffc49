// Restore-on-exit: the guard's action runs on a normal exit and while an error unwinds,
// an error of the action does not replace the one unwinding, and a dismissed guard does
// nothing.
#include "system/ScopeGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

TEST(ScopeGuard, RestoresOnEveryExitAndKeepsTheFirstError)
{
    std::string value = "before";
    {
        auto restore = RestoreOnExit(value);
        value = "during";
    }
    EXPECT_EQ(value, "before");

    int runs = 0;
    try {
        TScopeGuard failing([&] {
            ++runs;
            throw std::logic_error("second");
        });
        throw std::runtime_error("first");
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "first");
    }
    EXPECT_EQ(runs, 1);

    // On a normal exit the action's own error arrives.
    EXPECT_THROW(
        {
            TScopeGuard failing([] { throw std::logic_error("action"); });
        },
        std::logic_error);

    {
        TScopeGuard dismissed([&] { ++runs; });
        dismissed.Dismiss();
    }
    EXPECT_EQ(runs, 1);
}
