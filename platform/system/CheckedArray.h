// Fixed arrays with a declared index range [Lo..Hi]; every access is checked and a bad
// index raises ERangeError, as the platform's checked arrays do.
#pragma once

#include "SysUtils.h"

#include <array>
#include <cstddef>

template <typename T, int Lo, int Hi>
class TCheckedArray {
    static_assert(Hi >= Lo, "empty index range");
public:
    static constexpr int Low = Lo;
    static constexpr int High = Hi;
    static constexpr int Length = Hi - Lo + 1;

    T& operator[](int i) { return FItems[Index(i)]; }
    const T& operator[](int i) const { return FItems[Index(i)]; }
    void Fill(const T& v) { FItems.fill(v); }
    T* Data() { return FItems.data(); }
    const T* Data() const { return FItems.data(); }

private:
    static std::size_t Index(int i)
    {
        if (i < Lo || i > Hi)
            throw ERangeError();
        return static_cast<std::size_t>(i - Lo);
    }
    std::array<T, Length> FItems{};
};
