#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dadaz::gen {

// splitmix64: a tiny generator whose output is fixed by its seed on every platform and standard
// library, so a library made from a seed is the same everywhere.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, n); n > 0. The tiny modulo bias does not matter here.
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    // Uniform in [lo, hi].
    int between(int lo, int hi) {
        return lo + static_cast<int>(below(static_cast<std::size_t>(hi - lo + 1)));
    }
    // True with probability perMille / 1000.
    bool chance(unsigned perMille) { return below(1000) < perMille; }
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[below(items.size())];
    }

  private:
    std::uint64_t state_;
};

// A seed for one item derived from the library seed, so every song's content depends only on
// the seed and its own number, whichever thread writes it.
inline std::uint64_t mixSeed(std::uint64_t seed, std::uint64_t item, std::uint64_t stream) {
    Random r(seed ^ (item * 0xD1B54A32D192ED03ull) ^ (stream * 0x8CB92BA72F3D8DD7ull));
    r.next();
    return r.next();
}

}  // namespace dadaz::gen
