// The spooler over decoded data: short fills leave silence, loops wrap without limit on the
// number of wraps, and data that is empty ends instead of wrapping for ever.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tvlib/media/TMemSpooler.h"
#include "tvlib/media/TSoundData.h"

namespace {

void SetPcm(TSoundData* data, const std::vector<int16_t>& samples) {
  data->mPcm.assign(samples.size() * 2 + 4, 0);
  if (!samples.empty()) std::memcpy(data->mPcm.data(), samples.data(), samples.size() * 2);
  data->mDecodedBytes = int(samples.size() * 2);
  data->mChannels = 1;
  data->mSampleRate = 44100;
}

TEST(MemSpooler, ATinyLoopFillsAWholeHalfWithTheSameSamples) {
  TSoundData data;
  SetPcm(&data, {100, -200, 300});
  TMemSpooler spooler(&data);
  std::vector<int16_t> half(88200, 7);
  int got = 0;
  for (int pass = 0; pass < 2; ++pass) {
    ASSERT_TRUE(spooler.Fill(int(half.size() * 2), half.data(), &got, true));
    EXPECT_EQ(got, int(half.size() * 2));
    // The second half goes on where the first stopped (88200 is a multiple of 3).
    const int16_t pattern[] = {100, -200, 300};
    for (size_t i = 0; i < half.size(); ++i) ASSERT_EQ(half[i], pattern[i % 3]);
  }
}

TEST(MemSpooler, DataEndsWithSilenceAfterItWithoutALoop) {
  TSoundData data;
  SetPcm(&data, {1, 2, 3, 4});
  TMemSpooler spooler(&data);
  std::vector<int16_t> out(6, 9);
  int got = 0;
  EXPECT_FALSE(spooler.Fill(12, out.data(), &got, false));
  EXPECT_EQ(got, 8);
  EXPECT_EQ(out, (std::vector<int16_t>{1, 2, 3, 4, 0, 0}));
  // A fill that ends exactly at the end of the data has not seen the end yet.
  TMemSpooler exact(&data);
  EXPECT_TRUE(exact.Fill(8, out.data(), &got, false));
  EXPECT_FALSE(exact.Fill(8, out.data(), &got, false));
  EXPECT_EQ(got, 0);
}

TEST(MemSpooler, EmptyDataEndsEvenWhenLooping) {
  TSoundData data;
  SetPcm(&data, {});
  TMemSpooler spooler(&data);
  std::vector<int16_t> out(4, 9);
  int got = -1;
  EXPECT_FALSE(spooler.Fill(8, out.data(), &got, true));
  EXPECT_EQ(got, 0);
  EXPECT_EQ(out, (std::vector<int16_t>(4, 0)));
}

TEST(MemSpooler, NoDataFillsSilenceAndNeverEnds) {
  TSoundData data;
  TMemSpooler spooler(&data);
  std::vector<int16_t> out(4, 9);
  int got = -1;
  EXPECT_TRUE(spooler.Fill(8, out.data(), &got, false));
  EXPECT_EQ(got, 0);
  EXPECT_EQ(out, (std::vector<int16_t>(4, 0)));
}

}  // namespace
