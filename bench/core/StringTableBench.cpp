// Loading a workbook: the time must grow with its size alone, whether its rows hold cells or
// not (a row without cells once made every later row's search run to the end).
#include <benchmark/benchmark.h>

#include <string>

#include "tvlib/core/TStringTable.h"

namespace {

void LoadRows(benchmark::State& state, const std::string& row) {
  std::string workbook;
  for (int64_t i = 0; i < state.range(0); ++i) workbook += row;
  for (auto _ : state) {
    TStringTable table;
    table.LoadBuffer(workbook.data(), workbook.size());
    benchmark::DoNotOptimize(table);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(workbook.size()));
}

void BM_LoadRowsWithCells(benchmark::State& state) {
  LoadRows(state, "<Row><Cell><Data>label</Data></Cell><Cell><Data>Text</Data></Cell></Row>");
}
BENCHMARK(BM_LoadRowsWithCells)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LoadRowsWithoutCells(benchmark::State& state) {
  LoadRows(state, "<Row>");
}
BENCHMARK(BM_LoadRowsWithoutCells)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
