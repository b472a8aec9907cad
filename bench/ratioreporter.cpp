#include "ratioreporter.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace Tessar {

RatioReporter::RatioReporter(std::vector<Ratio> ratios)
    : mRatios(std::move(ratios))
{
}

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
            continue;
        mSeconds[run.run_name.function_name].push_back(run.real_accumulated_time / double(run.iterations));
    }
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::median(const std::string &name) const
{
    const auto it = mSeconds.find(name);
    if (it == mSeconds.end() || it->second.empty())
        return 0.0;
    std::vector<double> v = it->second;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

void RatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    std::ostream &out = GetOutputStream();
    out << '\n';
    for (const Ratio &r : mRatios) {
        const double measured = median(r.measured);
        const double reference = median(r.reference);
        char line[256];
        if (measured <= 0.0 || reference <= 0.0) {
            // Filtered out or failed: nothing to compare.
            std::snprintf(line, sizeof line, "%-24s n/a (%s or %s not run)", r.label.c_str(),
                          r.measured.c_str(), r.reference.c_str());
        } else {
            const double ratio = measured / reference;
            const bool met = ratio <= r.goal;
            mGoalsMet = mGoalsMet && met;
            std::snprintf(line, sizeof line, "%-24s %6.2fx  (%.3f ms / %.3f ms, goal %.1fx) %s", r.label.c_str(),
                          ratio, measured * 1e3, reference * 1e3, r.goal, met ? "met" : "MISSED");
        }
        out << line << '\n';
    }
    out.flush();
}

} // namespace Tessar
