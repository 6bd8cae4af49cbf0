#pragma once
// What the benchmark programs share: taking the fastest of several
// repetitions, and a console reporter that remembers those times so a
// program can print its ratios at the end.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace qf::bench {

// The fastest repetition is the least disturbed by other work on the machine.
inline double fastest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

// Console output as usual, plus each benchmark's fastest repetition.
class MinReporter : public benchmark::ConsoleReporter {
public:
    MinReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (!r.error_occurred && r.run_type == Run::RT_Aggregate && r.aggregate_name == "min")
                times_[r.run_name.str()] = r.GetAdjustedRealTime();
        }
    }
    // The time of the first benchmark whose name starts with prefix; NaN if none ran.
    double time(const std::string& prefix) const {
        for (const auto& [name, t] : times_)
            if (name.rfind(prefix, 0) == 0) return t;
        return NAN;
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace qf::bench
