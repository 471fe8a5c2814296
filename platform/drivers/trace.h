// For the benchmarks: with BRELOX_TRACE_PRESENT naming a file (or FIFO),
// each time a driver has put a changed picture on the screen it writes one
// line there, the CLOCK_MONOTONIC time in nanoseconds.
#pragma once

namespace brelox {

void trace_presented();

} // namespace brelox
