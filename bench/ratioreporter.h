#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace Tessar {

// Prints the usual console table and, at the end, how many times slower each
// measured benchmark ran than its reference, against a goal, and how long
// each timed command took against its time limit. Goals are judged on
// wall-clock time (the disk and the screen count); the processor-time ratio
// is shown beside it because it varies less on a busy machine. With
// repetitions the median of the runs counts.
//
// A benchmark that times other processes reports their processor time in a
// counter named "process_cpu" (seconds per iteration); that counter then
// stands in for its own, which would only show the waiting.
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

    struct Limit
    {
        std::string label;
        std::string measured;   // benchmark name, with its argument if it has one
        double goalMs;
    };

    explicit RatioReporter(std::vector<Ratio> ratios, std::vector<Limit> limits = {});

    void ReportRuns(const std::vector<Run> &runs) override;
    void Finalize() override;

    // False once a ratio or a limit missed its goal.
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

    void printRatio(std::ostream &out, const Ratio &r);
    void printLimit(std::ostream &out, const Limit &l);

    std::vector<Ratio> mRatios;
    std::vector<Limit> mLimits;
    std::map<std::string, Times> mTimes;
    bool mGoalsMet = true;
};

// Hands the command line to Google Benchmark. Run without arguments, the
// benchmarks repeat seven times in random order, so a busy moment of the
// machine spreads over all of them instead of spoiling one. False when an
// argument was not understood.
bool initialiseBenchmarks(int argc, char **argv);

} // namespace Tessar
