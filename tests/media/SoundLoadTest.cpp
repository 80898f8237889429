// Loading sounds: the cache key and its group suffix, the names and files that give no
// sound, and the choice between decoding whole and streaming.
#include <gtest/gtest.h>

#include <ogg/ogg.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/media/OggReference.h"
#include "tests/media/SoundFixture.h"
#include "tests/support/TempDir.h"
#include "tvlib/media/TMemSpooler.h"
#include "tvlib/media/TOggSources.h"
#include "tvlib/media/TSoundData.h"

namespace {

class SoundLoad : public SoundTest {
 protected:
  // The virtual name of a fixture file holding `bytes`.
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(mDir / name, std::ios::binary) << bytes;
    return "::" + (mDir / name);
  }
  TTempDir mDir;
};

struct LengthCase {
  double seconds;
  bool decodeShort;
  bool decodedWhole;
};

class DecodeOrStream : public SoundLoad, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(DecodeOrStream, DecodesWholeOnlyShortEffects) {
  const LengthCase c = GetParam();
  const std::string ogg = ToneOgg(c.seconds);
  auto sound = TSound::Get(Write("tone.ogg", ogg).c_str(), c.decodeShort, 1000);
  ASSERT_TRUE(sound);
  TSoundData& data = sound->GetData();
  EXPECT_EQ(data.IsDecodedWhole(), c.decodedWhole);
  EXPECT_DOUBLE_EQ(data.mDuration, std::lround(c.seconds * 44100) / 44100.0);
  EXPECT_EQ(data.mSampleRate, 44100);
  EXPECT_EQ(data.mChannels, 1);
  // Both ways give the decoder's own samples.
  const std::vector<int16_t> reference = DecodeReference(ogg);
  std::vector<int16_t> got(reference.size() + 100);
  int bytes = 0;
  TMemSpooler spooler(&data);
  EXPECT_FALSE(spooler.Fill(int(got.size() * 2), got.data(), &bytes, false));
  ASSERT_EQ(size_t(bytes), reference.size() * 2);
  EXPECT_TRUE(std::equal(reference.begin(), reference.end(), got.begin()));
}

INSTANTIATE_TEST_SUITE_P(Lengths, DecodeOrStream,
                         ::testing::Values(LengthCase{1.0, true, true}, LengthCase{1.9, true, true},
                                           LengthCase{2.0, true, true},
                                           LengthCase{2.01, true, false},
                                           LengthCase{30.0, true, false},
                                           LengthCase{1.0, false, false}));

TEST_F(SoundLoad, TheCacheSharesBySoundFlagAndGroup) {
  const std::string name = Write("click.ogg", ToneOgg(0.2));
  auto a = TSound::Get(name.c_str(), true, 1000);
  ASSERT_TRUE(a);
  EXPECT_EQ(TSound::Get(name.c_str(), true, 1000), a);
  EXPECT_NE(TSound::Get(name.c_str(), false, 1000), a);
  auto music = TSound::Get((name + "?loop&group=1001").c_str(), true, 1000);
  ASSERT_TRUE(music);
  EXPECT_NE(music, a);
  EXPECT_EQ(music->GetData().mGroup, 1001);
  EXPECT_EQ(TSound::Get(name.c_str(), true, 1001), music);
  EXPECT_EQ(TSound::Get((name + "?group=").c_str(), true, 1000)->GetData().mGroup, 0);
  // Released, it is loaded again.
  const TSound* old = a.get();
  a.reset();
  auto again = TSound::Get(name.c_str(), true, 1000);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->GetData().mNextHandle, 0);
  (void)old;
}

TEST_F(SoundLoad, NamesAndFilesThatGiveNoSound) {
  EXPECT_FALSE(TSound::Get(nullptr, true, 1000));
  EXPECT_FALSE(TSound::Get(Write("tone.wav", ToneOgg(0.2)).c_str(), true, 1000));
  EXPECT_FALSE(TSound::Get(("::" + (mDir / "missing.ogg")).c_str(), true, 1000));
  const std::string broken = Write("broken.ogg", "OggS but not really a stream");
  EXPECT_FALSE(TSound::Get(broken.c_str(), true, 1000));
  EXPECT_FALSE(TSound::Get(broken.c_str(), false, 1000));
  EXPECT_TRUE(TSound::Get(Write("UPPER.OGG", ToneOgg(0.2)).c_str(), true, 1000));
}

// Data the engine refuses after the decoder opened it: the file is closed once, by the
// decoder, on the streamed path as when decoding whole.
std::string WithRate(std::string ogg, uint32_t rate) {
  // The identification header: "\x01vorbis", version (4), channels (1), rate (4) at 12.
  const size_t body = 27 + static_cast<uint8_t>(ogg[26]);
  for (int i = 0; i < 4; ++i) ogg[body + 12 + i] = static_cast<char>(rate >> (8 * i));
  ogg_page page{reinterpret_cast<unsigned char*>(ogg.data()), long(body),
                reinterpret_cast<unsigned char*>(ogg.data() + body), static_cast<uint8_t>(ogg[27])};
  ogg_page_checksum_set(&page);
  return ogg;
}

TEST_F(SoundLoad, ARefusedStreamClosesItsFileOnce) {
  const std::string refused[] = {ToneOgg(3.0, 44100, 3), WithRate(ToneOgg(3.0), 999)};
  for (const std::string& ogg : refused) {
    const std::string name = Write("refused.ogg", ogg);
    EXPECT_FALSE(TSound::Get(name.c_str(), false, 1000));
    EXPECT_FALSE(TSound::Get(name.c_str(), true, 1000));
  }
}

// Too large to be read whole: refused, and the file closed all the same.
TEST_F(SoundLoad, AFileTooLargeToDecodeWholeIsClosed) {
  const std::string name = Write("huge.ogg", std::string((64 << 20) + 1, '\0'));
  EXPECT_FALSE(TSound::Get(name.c_str(), true, 1000));
}

// Thousands of chained logical streams cost the decoder a set-up each: refused by their count
// before it sees them. A few still play.
TEST_F(SoundLoad, ManyChainedStreamsAreRefusedByTheirCount) {
  const std::string link = ToneOgg(0.05);
  std::string chained;
  for (int i = 0; i < 3000; ++i) chained += link;
  TSoundData data;
  EXPECT_FALSE(data.OpenMemory(reinterpret_cast<const uint8_t*>(chained.data()), chained.size()));
  const std::string name = Write("chained.ogg", chained);
  EXPECT_FALSE(TSound::Get(name.c_str(), false, 1000));
  std::string few;
  for (int i = 0; i < kMaxOggStreams; ++i) few += link;
  TSoundData played;
  EXPECT_TRUE(played.OpenMemory(reinterpret_cast<const uint8_t*>(few.data()), few.size()));
}

// The system's decoder takes a codebook whose code lengths are no complete prefix code only to
// divide by zero when it decodes with it: such a stream is refused when it is opened.
TEST_F(SoundLoad, ACodebookTheDecoderCannotTakeIsRefused) {
  std::ifstream file(TV_TEST_DATA "/media/incomplete_codebook.ogg", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(bytes.empty());
  TSoundData data;
  EXPECT_FALSE(data.OpenMemory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  EXPECT_FALSE(TSound::Get(Write("broken.ogg", bytes).c_str(), false, 1000));
}

// Junk behind the last page is cut off: the file opens as if it were not there.
TEST_F(SoundLoad, JunkBehindTheDataIsIgnored) {
  const std::string ogg = ToneOgg(3.0);
  std::string junk(4 << 20, 'j');
  for (size_t i = 0; i < junk.size(); i += 4096) junk.replace(i, 4, "OggS");
  auto sound = TSound::Get(Write("junk.ogg", ogg + junk).c_str(), false, 1000);
  ASSERT_TRUE(sound);
  EXPECT_DOUBLE_EQ(sound->GetData().mDuration, 3.0);
}

TEST_F(SoundLoad, PlayWithoutDataOrManagerAnswersMinusOne) {
  TSound empty;
  EXPECT_EQ(empty.Play(false), -1);
  auto sound = Sound(ToneOgg(0.5));
  mData.soundManager.reset();
  EXPECT_EQ(sound->Play(false), -1);
}

}  // namespace
