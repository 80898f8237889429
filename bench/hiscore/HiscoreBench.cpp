// The local hiscore file and the score insertion: building and reading the enciphered file
// for four full tables, the whole save and load through the disk, and a score entering a
// full table. And hostile replies of 2 MB from the online service: read on the HTTP worker,
// each must still take well under a second, and the text of one must grow in linear time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "tests/support/TempDir.h"
#include "tvlib/core/TCipher.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/hiscore/THiscoreProtocol.h"
#include "tvlib/hiscore/THiscoreStore.h"
#include "tvlib/hiscore/THiscoreTable.h"

namespace {

THiscoreEntry Entry(int score) {
  THiscoreEntry entry;
  entry.score = score;
  entry.name = TString::Format("Player %d", score % 17);
  entry.gameData = "12.3";
  entry.version = "1.0.0.48";
  entry.guid = "0123456789abcdef0123456789abcdef";
  return entry;
}

// `tables` tables of `entries` entries each.
THiscoreTables Tables(int tables, int entries) {
  THiscoreTables out;
  for (int t = 0; t < tables; ++t) {
    auto table = std::make_unique<THiscoreTable>();
    table->name = TString::Format("mode_%d", t);
    for (int i = 0; i < entries; ++i) InsertHiscoreEntry(table.get(), Entry(i * 7 % 1000), false);
    out[table->name] = std::move(table);
  }
  return out;
}

const TCipher& Cipher() {
  static const TCipher cipher("Hw7pKd2RtXbQ");
  return cipher;
}

void BM_BuildStore(benchmark::State& state) {
  THiscoreTables tables = Tables(4, static_cast<int>(state.range(0)));
  size_t bytes = 0;
  for (auto _ : state) {
    std::string file = BuildHiscoreStore(Cipher(), tables, {});
    bytes = file.size();
    benchmark::DoNotOptimize(file);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_BuildStore)->Arg(10)->Arg(500);

void BM_ParseStore(benchmark::State& state) {
  std::string file = BuildHiscoreStore(Cipher(), Tables(4, static_cast<int>(state.range(0))), {});
  for (auto _ : state) {
    THiscoreTables tables;
    THiscoreLogins logins;
    ParseHiscoreStore(reinterpret_cast<const uint8_t*>(file.data()), file.size(), Cipher(), &tables,
                      &logins);
    benchmark::DoNotOptimize(tables);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ParseStore)->Arg(10)->Arg(500);

// The whole save (temporary file, flush to the disk, rename) and load of four full tables.
void BM_SaveAndLoadFile(benchmark::State& state) {
  TTempDir dir;
  std::filesystem::create_directories(dir / "user");
  SetDataFolders((dir / "user").c_str(), (dir / "user").c_str());
  ClearFileIndex();
  THiscoreTables tables = Tables(4, 500);
  for (auto _ : state) {
    bool keep = false;
    HiscoreStoreSave(Cipher(), tables, {}, &keep);
    THiscoreTables loaded;
    THiscoreLogins logins;
    HiscoreStoreLoad(Cipher(), &loaded, &logins);
    benchmark::DoNotOptimize(loaded);
  }
}
BENCHMARK(BM_SaveAndLoadFile)->Unit(benchmark::kMillisecond);

// A score entering the top of a full table (the worst case: every rank moves).
void BM_InsertIntoFullTable(benchmark::State& state) {
  THiscoreTables tables = Tables(1, kHiscoreMaxEntries);
  THiscoreTable table = std::move(*tables.begin()->second);
  for (auto _ : state) {
    THiscoreTable copy = table;
    InsertHiscoreEntry(&copy, Entry(5000), state.range(0) != 0);
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_InsertIntoFullTable)->Arg(0)->Arg(1);

// The copy the insertion benchmark makes, to subtract from it.
void BM_CopyFullTable(benchmark::State& state) {
  THiscoreTables tables = Tables(1, kHiscoreMaxEntries);
  for (auto _ : state) {
    THiscoreTable copy = *tables.begin()->second;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_CopyFullTable);

// Hostile replies of about 2 MB: a scores table of as many rows as fit, and a message of a
// million words, each a piece of text appended to the one before.
std::string ScoresReply(size_t bytes) {
  std::string reply = "<hiscore><scores>";
  for (int i = 0; reply.size() < bytes; ++i)
    reply += "<score name=\"Player " + std::to_string(i) +
             "\" data=\"12.3\" ver=\"1.0\" guid=\"0123456789abcdef0123456789abcdef\" score=\"" +
             std::to_string(100000 - i) + "\" rank=\"" + std::to_string(i + 1) + "\"/>";
  return reply + "</scores></hiscore>";
}

std::string WordsReply(size_t bytes) {
  std::string reply = "<hiscore><message>";
  while (reply.size() < bytes) reply += "a ";
  return reply + "</message></hiscore>";
}

// Range 0 picks the reply: 0 a scores table, 1 a message of words; range 1 its size.
void BM_ReadReply(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(1));
  const bool scores = state.range(0) == 0;
  const std::string reply = scores ? ScoresReply(bytes) : WordsReply(bytes);
  const THiscoreRequestKind kind =
      scores ? THiscoreRequestKind::kScores : THiscoreRequestKind::kTables;
  for (auto _ : state) {
    THiscoreReading reading = ReadHiscoreReply(kind, reply.data(), reply.size());
    benchmark::DoNotOptimize(reading);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * reply.size()));
}
BENCHMARK(BM_ReadReply)
    ->Args({0, 2 << 20})
    ->Args({1, 2 << 20})
    ->Args({1, 4 << 20})
    ->Unit(benchmark::kMillisecond);

}  // namespace
