#include "bench/memcpy_bound.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

namespace tamo::bench {

double threadMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

double memcpyMicroseconds(size_t bytes)
{
    std::vector<char> from(bytes, 1);
    std::vector<char> to(bytes, 2);
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        int copies = 0;
        const double start = threadMicroseconds();
        double spent = 0;
        // Copies for 20 ms, the clock read once per megabyte copied so that reading it
        // costs nothing beside small copies.
        do {
            for (size_t copied = 0; copied < size_t(1) << 20; copied += bytes) {
                std::memcpy(to.data(), from.data(), bytes);
                benchmark::ClobberMemory();
                ++copies;
            }
            spent = threadMicroseconds() - start;
        } while (spent < 20000);
        best = std::min(best, spent / copies);
    }
    benchmark::DoNotOptimize(to.data());
    return best;
}

void BoundedTimer::report(size_t boundBytes)
{
    const double us = (threadMicroseconds() - m_start)
                      / double(std::max<benchmark::IterationCount>(1, m_state.iterations()));
    const double bound = memcpyMicroseconds(boundBytes);
    m_state.counters["us"] = us;
    m_state.counters["memcpy_us"] = bound;
    m_state.counters["x_memcpy"] = us / bound;
}

} // namespace tamo::bench
