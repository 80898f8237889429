// Sound costs. Mixing: 32 looping buffers (stereo at 44100 Hz, and mono at 22050 Hz to
// include resampling) mixed for 10 s of audio in 1024-frame blocks; core_share_pct is the CPU
// time per iteration as a share of the 10 s it plays. Sixteen decoded stereo streams at the
// output's rate, mixed in 1024-frame blocks, against a plain float loop that sums the same
// samples at the same gains and saturates to 16 bits (interleaved rounds, their ratio). Decoding: a
// 60 s stereo Ogg file decoded by the engine's streaming spooler (one-second halves) against
// libvorbisfile's own ov_read loop.
#include <benchmark/benchmark.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "bench/support/Interleaved.h"
#include "tests/support/OggEncoder.h"
#include "tvlib/media/TMemSpooler.h"
#include "tvlib/media/TSoundData.h"
#include "tvlib/platform/audio/TAudioDevice.h"
#include "tvlib/platform/audio/TManualAudioOutput.h"

namespace {

void MixStreams(benchmark::State& state, int rate, int channels) {
  auto output = std::make_unique<TManualAudioOutput>();
  TManualAudioOutput* manual = output.get();
  auto device = TAudioDevice::Open(std::move(output));
  std::vector<std::unique_ptr<TAudioBuffer>> buffers;
  for (int b = 0; b < 32; ++b) {
    auto buffer = device->CreateBuffer(rate, channels, 2 * rate * channels * 2);
    void* first;
    void* second;
    int n1, n2;
    buffer->Lock(0, buffer->GetSize(), &first, &n1, &second, &n2);
    auto* samples = static_cast<int16_t*>(first);
    for (int i = 0; i < n1 / 2; ++i) samples[i] = int16_t((i * 7919 + b * 104729) % 20000 - 10000);
    buffer->Unlock();
    buffer->SetVolume(-1500);
    buffer->Play(true);
    buffers.push_back(std::move(buffer));
  }
  const int seconds = 10;
  const double start = ThreadCpuMicros();
  for (auto _ : state) {
    for (int done = 0; done < 44100 * seconds; done += 1024) manual->Advance(1024);
  }
  // The thread's CPU time per iteration as a share of the seconds it plays.
  if (state.iterations() > 0)
    state.counters["core_share_pct"] =
        (ThreadCpuMicros() - start) / 1e6 / double(state.iterations()) / seconds * 100.0;
}

void BM_Mix32Streams44kStereo(benchmark::State& state) {
  MixStreams(state, 44100, 2);
}
void BM_Mix32Streams22kMono(benchmark::State& state) {
  MixStreams(state, 22050, 1);
}
BENCHMARK(BM_Mix32Streams44kStereo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mix32Streams22kMono)->Unit(benchmark::kMillisecond);

void BM_Mix16StreamsAgainstFloatLoop(benchmark::State& state) {
  constexpr int kStreams = 16, kFrames = 44100, kBlock = 1024;
  auto output = std::make_unique<TManualAudioOutput>();
  TManualAudioOutput* manual = output.get();
  auto device = TAudioDevice::Open(std::move(output));
  std::vector<std::unique_ptr<TAudioBuffer>> buffers;
  std::vector<std::vector<float>> decoded(kStreams);
  std::vector<float> gains(kStreams);
  for (int b = 0; b < kStreams; ++b) {
    auto buffer = device->CreateBuffer(44100, 2, kFrames * 4);
    void* first;
    void* second;
    int n1, n2;
    buffer->Lock(0, buffer->GetSize(), &first, &n1, &second, &n2);
    auto* samples = static_cast<int16_t*>(first);
    for (int i = 0; i < n1 / 2; ++i) {
      samples[i] = int16_t((i * 7919 + b * 104729) % 20000 - 10000);
      decoded[size_t(b)].push_back(float(samples[i]));
    }
    buffer->Unlock();
    buffer->SetVolume(-100 * b);
    gains[size_t(b)] = float(std::pow(10.0, -100.0 * b / 2000.0));
    buffer->Play(true);
    buffers.push_back(std::move(buffer));
  }
  std::vector<float> sum(kBlock * 2);
  std::vector<int16_t> out(kBlock * 2);
  size_t at = 0;
  CompareInterleaved(
      state,
      [&] {
        for (int done = 0; done < kFrames; done += kBlock) manual->Advance(kBlock);
      },
      [&] {
        for (int done = 0; done < kFrames; done += kBlock) {
          std::fill(sum.begin(), sum.end(), 0.0f);
          for (int b = 0; b < kStreams; ++b) {
            const float* in = decoded[size_t(b)].data() + at;
            const float g = gains[size_t(b)];
            for (int k = 0; k < kBlock * 2; ++k) sum[size_t(k)] += in[k] * g;
          }
          for (int k = 0; k < kBlock * 2; ++k)
            out[size_t(k)] = int16_t(std::clamp(sum[size_t(k)], -32768.0f, 32767.0f));
          benchmark::DoNotOptimize(out.data());
          at = (at + kBlock * 2) % (size_t(kFrames - kBlock) * 2);
        }
      });
}
BENCHMARK(BM_Mix16StreamsAgainstFloatLoop)->Unit(benchmark::kMillisecond);

const std::string& SixtySeconds() {
  static const std::string ogg = EncodeOgg(44100, 2, 60L * 44100, [](long i, int c) {
    return 0.4f * float(std::sin(2 * M_PI * (220.0 + 110.0 * c) * double(i) / 44100)) +
           0.1f * float(std::sin(2 * M_PI * 3520.0 * double(i) / 44100));
  });
  return ogg;
}

struct Reader {
  const std::string* bytes;
  size_t at;
};

size_t ReadBytes(void* out, size_t size, size_t count, void* source) {
  auto* reader = static_cast<Reader*>(source);
  size_t n = std::min(size * count, reader->bytes->size() - reader->at);
  std::memcpy(out, reader->bytes->data() + reader->at, n);
  reader->at += n;
  return size ? n / size : 0;
}

int SeekBytes(void* source, ogg_int64_t offset, int whence) {
  auto* reader = static_cast<Reader*>(source);
  ogg_int64_t base = whence == SEEK_SET   ? 0
                     : whence == SEEK_CUR ? ogg_int64_t(reader->at)
                                          : ogg_int64_t(reader->bytes->size());
  reader->at =
      size_t(std::clamp<ogg_int64_t>(base + offset, 0, ogg_int64_t(reader->bytes->size())));
  return 0;
}

long TellBytes(void* source) {
  return long(static_cast<Reader*>(source)->at);
}

void BM_Decode60sVorbisfileLoop(benchmark::State& state) {
  const std::string& ogg = SixtySeconds();
  std::vector<char> out(176400);
  for (auto _ : state) {
    Reader reader{&ogg, 0};
    OggVorbis_File file;
    ov_open_callbacks(&reader, &file, nullptr, 0, {ReadBytes, SeekBytes, nullptr, TellBytes});
    int section = 0;
    long total = 0;
    long n;
    while ((n = ov_read(&file, out.data(), int(out.size()), 0, 2, 1, &section)) > 0) total += n;
    ov_clear(&file);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_Decode60sVorbisfileLoop)->Unit(benchmark::kMillisecond);

void BM_Decode60sSpooler(benchmark::State& state) {
  const std::string& ogg = SixtySeconds();
  std::vector<uint8_t> half(176400);
  for (auto _ : state) {
    TSoundData data;
    data.OpenMemory(reinterpret_cast<const uint8_t*>(ogg.data()), ogg.size());
    TMemSpooler spooler(&data);
    int got = 0;
    long total = 0;
    while (spooler.Fill(int(half.size()), half.data(), &got, false)) total += got;
    benchmark::DoNotOptimize(total + got);
  }
}
BENCHMARK(BM_Decode60sSpooler)->Unit(benchmark::kMillisecond);

}  // namespace
