#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

namespace tamo::bench {

// The time this thread has run, in microseconds: on a machine shared with other work the
// figures and their bounds are then taken alike.
double threadMicroseconds();

// Microseconds a plain memcpy of this many bytes takes here and now, between two buffers
// that have been touched before (the best of several rounds).
double memcpyMicroseconds(size_t bytes);

// Times (in thread time) the benchmark's loop from its own construction (just before the loop) to
// report() (just after it), and sets beside the mean the bound of the same run: counters
// "us" (this benchmark, per iteration), "memcpy_us" and "x_memcpy".
class BoundedTimer
{
public:
    explicit BoundedTimer(benchmark::State &state)
        : m_state(state)
        , m_start(threadMicroseconds())
    {
    }
    void report(size_t boundBytes);

private:
    benchmark::State &m_state;
    double m_start;
};

} // namespace tamo::bench
