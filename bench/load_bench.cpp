// The whole catalogue load, as each activation of the window runs it, for growing catalogues.

#include "catalogue.h"
#include "syntheticdisc.h"

#include <benchmark/benchmark.h>
#include <map>
#include <unistd.h>

namespace {

const std::filesystem::path& Disc(size_t lines)
{
    static std::map<size_t, std::filesystem::path> discs;
    auto& path = discs[lines];
    if (path.empty()) {
        path = std::filesystem::temp_directory_path() /
               ("discbrowser-bench-" + std::to_string(getpid()) + "-" + std::to_string(lines));
        bench::WriteSyntheticDisc(path, lines);
    }
    return path;
}

void BM_Load(benchmark::State& state)
{
    const auto lines = static_cast<size_t>(state.range(0));
    const auto& root = Disc(lines);
    catalogue::Catalogue cat(root);
    for (auto _ : state) {
        cat.Load();
        benchmark::DoNotOptimize(cat.CategoryItemCount(1));
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * lines));
}

BENCHMARK(BM_Load)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (size_t lines : {1000, 100000, 1000000}) {
        std::error_code ec;
        std::filesystem::remove_all(Disc(lines), ec);
    }
    return 0;
}
