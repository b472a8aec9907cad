#include "ratioreporter.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace Tessar {

namespace {

constexpr char ProcessCpu[] = "process_cpu";

} // namespace

RatioReporter::RatioReporter(std::vector<Ratio> ratios, std::vector<Limit> limits)
    : mRatios(std::move(ratios)), mLimits(std::move(limits))
{
}

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        if (run.error_occurred)
            continue;
        const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
        const auto processCpu = run.counters.find(ProcessCpu);
        const double cpu = processCpu != run.counters.end() ? processCpu->second.value
                                                            : run.GetAdjustedCPUTime() / unit;
        Times &t = mTimes[run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args)];
        if (run.run_type == Run::RT_Iteration) {
            t.real.push_back(run.GetAdjustedRealTime() / unit);
            t.cpu.push_back(cpu);
        } else if (run.aggregate_name == "median") {
            // With --benchmark_report_aggregates_only only these arrive.
            t.medianReal = run.GetAdjustedRealTime() / unit;
            t.medianCpu = cpu;
            t.aggregated = true;
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::median(std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

double RatioReporter::real(const std::string &name) const
{
    const auto it = mTimes.find(name);
    if (it == mTimes.end())
        return 0.0;
    return it->second.aggregated ? it->second.medianReal : median(it->second.real);
}

double RatioReporter::cpu(const std::string &name) const
{
    const auto it = mTimes.find(name);
    if (it == mTimes.end())
        return 0.0;
    return it->second.aggregated ? it->second.medianCpu : median(it->second.cpu);
}

void RatioReporter::printRatio(std::ostream &out, const Ratio &r)
{
    const double measured = real(r.measured);
    const double reference = real(r.reference);
    char line[320];
    if (measured <= 0.0 || reference <= 0.0 || cpu(r.reference) <= 0.0) {
        // Filtered out or failed: nothing to compare.
        std::snprintf(line, sizeof line, "%-40s n/a (%s or %s not run)", r.label.c_str(),
                      r.measured.c_str(), r.reference.c_str());
    } else {
        const double ratio = measured / reference;
        const bool met = ratio <= r.goal;
        mGoalsMet = mGoalsMet && met;
        std::snprintf(line, sizeof line, "%-40s %5.2fx  (%.3f ms / %.3f ms; processor time %.2fx)  goal %.1fx %s",
                      r.label.c_str(), ratio, measured * 1e3, reference * 1e3,
                      cpu(r.measured) / cpu(r.reference), r.goal, met ? "met" : "MISSED");
    }
    out << line << '\n';
}

void RatioReporter::printLimit(std::ostream &out, const Limit &l)
{
    const double measured = real(l.measured) * 1e3;
    char line[320];
    if (measured <= 0.0) {
        std::snprintf(line, sizeof line, "%-40s n/a (%s not run)", l.label.c_str(), l.measured.c_str());
    } else {
        const bool met = measured <= l.goalMs;
        mGoalsMet = mGoalsMet && met;
        std::snprintf(line, sizeof line, "%-40s %8.3f ms  (processor %8.3f ms)  goal under %.0f ms %s",
                      l.label.c_str(), measured, cpu(l.measured) * 1e3, l.goalMs, met ? "met" : "MISSED");
    }
    out << line << '\n';
}

void RatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    std::ostream &out = GetOutputStream();
    out << '\n';
    for (const Ratio &r : mRatios)
        printRatio(out, r);
    for (const Limit &l : mLimits)
        printLimit(out, l);
    out.flush();
}

bool initialiseBenchmarks(int argc, char **argv)
{
    std::vector<char *> args(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=7";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    if (argc == 1) {
        args.push_back(repetitions);
        args.push_back(interleave);
    }
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    return !benchmark::ReportUnrecognizedArguments(count, args.data());
}

} // namespace Tessar
