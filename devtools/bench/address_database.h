#pragma once

#include <string>

namespace bench {

// An address database of `records` generated records (see TAddressGenerator), `tickedPercent`
// of them ticked, in the tables Zeravu makes for a new database. Each size is made once: in the
// folder $ZARIZE_BENCH_DATA names, when it names one (devtools/bench/run shares one folder between
// the benchmark programs of a run), else in a folder of this process that goes at exit.
// The benchmarks only read it.
std::string AddressDatabase(int records, int tickedPercent);

// "1,000,000" for 1000000: record counts as the table prints them.
std::string Thousands(long long value);

}  // namespace bench
