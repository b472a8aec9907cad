#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace Tessar {

// Prints the usual console table and, at the end, how many times slower each
// measured benchmark ran than its reference, against a goal. With
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

    // False once a ratio missed its goal or could not be computed.
    bool goalsMet() const { return mGoalsMet; }

private:
    double median(const std::string &name) const;

    std::vector<Ratio> mRatios;
    std::map<std::string, std::vector<double>> mSeconds;
    bool mGoalsMet = true;
};

} // namespace Tessar
