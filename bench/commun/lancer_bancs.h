// The main() of every Qt benchmark program: offscreen, the application
// object, Google Benchmark's run, and for the programs that compare their
// results within one run, each benchmark's median CPU time (milliseconds)
// handed to `resume` once all have run.
#pragma once

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QGuiApplication>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace horaku::banc
{

using Medianes = std::map<std::string, double>;

class RapporteurMedianes : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                medianes[r.run_name.function_name] = r.GetAdjustedCPUTime();
    }
    Medianes medianes;
};

template <typename Application = QGuiApplication>
int LancerBancs(int argc, char** argv, const std::function<void(const Medianes&)>& resume = {})
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    RapporteurMedianes rapporteur;
    benchmark::RunSpecifiedBenchmarks(&rapporteur);
    if (resume) resume(rapporteur.medianes);
    benchmark::Shutdown();
    return 0;
}

} // namespace horaku::banc
