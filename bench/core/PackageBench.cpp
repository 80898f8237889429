// Mounting an asset package and resolving its names: how both grow with the entry count.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tools/tvpack/TPackageWriter.h"
#include "tvlib/core/TFileIndex.h"

namespace {

std::string EntryName(int i) {
  return "images/set" + std::to_string(i % 37) + "/Item" + std::to_string(i) + ".png";
}

// A program folder whose assets hold one package of `count` small entries.
struct TPackageFixture {
  explicit TPackageFixture(int count) {
    std::vector<TPackMember> members;
    for (int i = 0; i < count; ++i) members.push_back({EntryName(i), std::string(64, 'x')});
    std::string package, error;
    BuildPackage(std::move(members), &package, &error);
    std::filesystem::create_directories(dir / "assets");
    WriteWholeFile(dir / "assets/data.tvp", package);
    SetProgramFolder(dir.Path().c_str());
    SetDataFolders((dir / "user").c_str(), (dir / "user").c_str());
  }
  TTempDir dir;
};

void BM_MountPackage(benchmark::State& state) {
  TPackageFixture fixture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ClearFileIndex();
    MountFileSystem();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MountPackage)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every name of the package once per iteration; items/s shows the cost of one lookup.
void BM_ResolveEveryName(benchmark::State& state) {
  int count = static_cast<int>(state.range(0));
  TPackageFixture fixture(count);
  ClearFileIndex();
  MountFileSystem();
  std::vector<TString> names;
  for (int i = 0; i < count; ++i) names.push_back(EntryName(i).c_str());
  for (auto _ : state)
    for (const TString& name : names) benchmark::DoNotOptimize(ResolvePath(name));
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ResolveEveryName)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
