// Side-by-side timing of the engine against a reference: one round of each per benchmark
// iteration, their order alternating so that neither always runs on a warm cache, and the
// medians reported as counters: engine_us, reference_us and ratio (engine over reference;
// below 1 the engine is faster). Times are the thread's CPU time, so that other processes on a
// busy machine do not count. The benchmark's own time is the sum of both.
#pragma once

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <vector>

// The calling thread's CPU time in microseconds.
inline double ThreadCpuMicros() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

template <typename TEngine, typename TReference>
void CompareInterleaved(benchmark::State& state, TEngine&& engine, TReference&& reference) {
  auto micros = [](auto& round) {
    const double start = ThreadCpuMicros();
    round();
    return ThreadCpuMicros() - start;
  };
  std::vector<double> engineTimes, referenceTimes;
  bool engineFirst = true;
  for (auto _ : state) {
    if (engineFirst) {
      engineTimes.push_back(micros(engine));
      referenceTimes.push_back(micros(reference));
    } else {
      referenceTimes.push_back(micros(reference));
      engineTimes.push_back(micros(engine));
    }
    engineFirst = !engineFirst;
  }
  auto median = [](std::vector<double>& v) {
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
    return v[v.size() / 2];
  };
  if (engineTimes.empty()) return;
  const double e = median(engineTimes), r = median(referenceTimes);
  state.counters["engine_us"] = e;
  state.counters["reference_us"] = r;
  state.counters["ratio"] = r > 0 ? e / r : 0;
}
