#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace Tessar {

// Prints the usual console table and, at the end, how many times slower each
// measured benchmark ran than its reference, against a goal. The goal is
// judged on wall-clock time (the disk counts); the processor-time ratio is
// shown beside it because it varies less on a busy machine. With
// repetitions the median of the runs counts.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    struct Ratio
    {
        std::string label;
        std::string measured;   // benchmark function names
        std::string reference;
        double goal;
    };

    explicit RatioReporter(std::vector<Ratio> ratios);

    void ReportRuns(const std::vector<Run> &runs) override;
    void Finalize() override;

    // False once a ratio missed its goal.
    bool goalsMet() const { return mGoalsMet; }

private:
    struct Times
    {
        std::vector<double> real, cpu;   // seconds per iteration, one entry a run
        double medianReal = 0.0, medianCpu = 0.0;
        bool aggregated = false;         // medians reported by the library
    };

    static double median(std::vector<double> v);
    double real(const std::string &name) const;
    double cpu(const std::string &name) const;

    std::vector<Ratio> mRatios;
    std::map<std::string, Times> mTimes;
    bool mGoalsMet = true;
};

} // namespace Tessar
