// Settings file: parse and write the full default settings, and a large
// file, against the floor of copying the same bytes.
#include "settings/ParamFile.h"
#include "settings/Settings.h"

#include <benchmark/benchmark.h>

#include <cstring>

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

BENCHMARK_MAIN();
