// Settings file: parse and write the full default settings, and a large
// file, against the floor of copying the same bytes.
#include "BenchRow.h"
#include "settings/ParamFile.h"
#include "settings/Settings.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <string>

static std::string DefaultsText()
{
    CParamFile f;
    CSettings().Save(f, 96);
    return f.SaveToText();
}

static std::string LargeText()
{
    std::string text = "<K>\r\n";
    for (int i = 0; i < 200000; ++i)
        text += "<V" + std::to_string(i) + ">value " + std::to_string(i) + "</V" + std::to_string(i) +
                ">\r\n";
    return text + "</K>\r\n";
}

static void BM_LoadDefaults(benchmark::State& state)
{
    std::string text = CParamFile::FromTextMode(DefaultsText());
    for (auto _ : state) {
        CParamFile f;
        f.LoadFromText(text);
        CSettings s;
        s.Load(f, 96);
        benchmark::DoNotOptimize(s.m_tabWidth);
    }
}
BENCHMARK(BM_LoadDefaults);

static void BM_SaveDefaults(benchmark::State& state)
{
    CSettings s;
    for (auto _ : state) {
        CParamFile f;
        s.Save(f, 96);
        benchmark::DoNotOptimize(f.SaveToText());
    }
}
BENCHMARK(BM_SaveDefaults);

static void BM_LoadLarge(benchmark::State& state)
{
    std::string text = CParamFile::FromTextMode(LargeText());
    for (auto _ : state) {
        CParamFile f;
        f.LoadFromText(text);
        benchmark::DoNotOptimize(f.Tree().Root().m_leaves.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LoadLarge)->Unit(benchmark::kMillisecond);

static void BM_FloorCopyLarge(benchmark::State& state)
{
    std::string text = LargeText();
    std::string copy(text.size(), '\0');
    for (auto _ : state) {
        std::memcpy(copy.data(), text.data(), text.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_FloorCopyLarge)->Unit(benchmark::kMillisecond);

// The console output as usual, and the real times kept for the table rows.
class CRowReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ms;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration)
                ms[r.benchmark_name()] = r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit) * 1e3;
        ConsoleReporter::ReportRuns(runs);
    }
};

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRowReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto at = [&](const char* name) { return reporter.ms.count(name) ? reporter.ms[name] : -1.0; };
    // No targets were set for the settings file; the rows say where it stands.
    benchrow::Row("settings: load 200,000 values", at("BM_LoadLarge"), "ms", "copying the same bytes",
                  at("BM_FloorCopyLarge"), {0, 0, false, "none set"});
    benchrow::Row("settings: load the defaults", at("BM_LoadDefaults") * 1e3, "us", "", -1, {0, 0, false, "none set"});
    benchrow::Row("settings: write the defaults", at("BM_SaveDefaults") * 1e3, "us", "", -1, {0, 0, false, "none set"});
    benchmark::Shutdown();
    return 0;
}
