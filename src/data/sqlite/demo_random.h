#pragma once
// The demo's random numbers: SplitMix64, so that one seed gives the same
// sample database with every compiler and standard library (the standard
// distributions differ between libraries).
#include <cstddef>
#include <cstdint>

namespace kvet::sqlite {

class DemoRandom {
public:
    explicit DemoRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < n (n > 0).
    int below(int n) { return int(next() % std::uint64_t(n)); }
    // lo <= result <= hi.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    // 0 <= result < 1.
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return uniform() < p; }

    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N])
    {
        return items[below(int(N))];
    }

private:
    std::uint64_t state_;
};

} // namespace kvet::sqlite
