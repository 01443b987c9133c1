#pragma once

#include <array>
#include <cassert>
#include <cstdint>

namespace ttt {

using int16 = std::int16_t;

// A fixed table indexed from 1, as the game's tables are numbered: t(1) .. t(N).
template <typename T, int N> class Table {
  public:
    constexpr T &operator()(int i) {
        assert(i >= 1 && i <= N);
        return items_[static_cast<std::size_t>(i - 1)];
    }
    constexpr const T &operator()(int i) const {
        assert(i >= 1 && i <= N);
        return items_[static_cast<std::size_t>(i - 1)];
    }
    constexpr void fill(const T &value) { items_.fill(value); }
    static constexpr int size() { return N; }
    friend constexpr bool operator==(const Table &, const Table &) = default;

  private:
    std::array<T, N> items_{};
};

// A two-dimensional table indexed from 1 in both directions: t(i, k).
template <typename T, int Rows, int Cols> class Table2 {
  public:
    constexpr T &operator()(int i, int k) {
        assert(i >= 1 && i <= Rows && k >= 1 && k <= Cols);
        return items_[static_cast<std::size_t>((k - 1) * Rows + (i - 1))];
    }
    constexpr const T &operator()(int i, int k) const {
        assert(i >= 1 && i <= Rows && k >= 1 && k <= Cols);
        return items_[static_cast<std::size_t>((k - 1) * Rows + (i - 1))];
    }
    friend constexpr bool operator==(const Table2 &, const Table2 &) = default;

  private:
    std::array<T, static_cast<std::size_t>(Rows * Cols)> items_{};
};

} // namespace ttt
