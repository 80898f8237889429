// Blowfish against published vectors, Base64, and the store cipher built on both.
#include "tvlib/core/TCipher.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tvlib/core/TBase64.h"
#include "tvlib/core/TComputerId.h"

namespace {

std::vector<unsigned char> Hex(const char* text) {
  std::vector<unsigned char> bytes;
  for (size_t i = 0; text[i] && text[i + 1]; i += 2)
    bytes.push_back(static_cast<unsigned char>(std::stoi(std::string(text + i, 2), nullptr, 16)));
  return bytes;
}

std::string Encode(const std::string& bytes) {
  std::string out(static_cast<size_t>(Base64EncodedSize(static_cast<int>(bytes.size()))), '?');
  EXPECT_EQ(Base64Encode(out.data(), bytes.data(), static_cast<int>(bytes.size())),
            static_cast<int>(out.size()));
  return out;
}

std::string Decode(const std::string& text) {
  std::string out(static_cast<size_t>(Base64DecodedSize(static_cast<int>(text.size()))), '?');
  out.resize(
      static_cast<size_t>(Base64Decode(out.data(), text.data(), static_cast<int>(text.size()))));
  return out;
}

}  // namespace

// The published test vectors of the algorithm: key, plain block, cipher block.
TEST(Blowfish, PublishedVectors) {
  const char* vectors[][3] = {
      {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
      {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
      {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
      {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
      {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
      {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
  };
  for (auto& v : vectors) {
    std::vector<unsigned char> key = Hex(v[0]), block = Hex(v[1]);
    TBlowfish blowfish(key.data(), key.size());
    blowfish.EncryptBlock(block.data());
    EXPECT_EQ(block, Hex(v[2])) << v[0];
    blowfish.DecryptBlock(block.data());
    EXPECT_EQ(block, Hex(v[1])) << v[0];
  }
}

TEST(Base64, TableAndPadding) {
  const char* table[][2] = {{"", ""},
                            {"a", "YQ=="},
                            {"ab", "YWI="},
                            {"abc", "YWJj"},
                            {"abcd", "YWJjZA=="},
                            {"\xff\xfe\xfd", "//79"},
                            {"\xfb\xef\xbe", "++++"}};
  for (auto& row : table) {
    EXPECT_EQ(Encode(row[0]), row[1]);
    EXPECT_EQ(Decode(row[1]), row[0]);
  }
  EXPECT_EQ(Decode("YWI"), "ab");  // read as if padded
  EXPECT_EQ(Base64DecodedSize(3), 3);
  EXPECT_EQ(Base64EncodedSize(4), 8);
}

TEST(Cipher, RoundTripsEveryLengthAndPadsAWholeBlock) {
  TCipher cipher("c2VjcmV0a2V5");
  ASSERT_TRUE(cipher.IsValid());
  const std::string source = "0123456789abcdefXYZ";
  for (int n = 0; n <= 17; ++n) {
    int size = cipher.Encrypt(source.data(), n, nullptr, 0, false);
    EXPECT_EQ(size, (n / 8 + 1) * 8) << n;
    std::string sealed(static_cast<size_t>(size), '\0');
    EXPECT_EQ(cipher.Encrypt(source.data(), n, sealed.data(), size, false), 0);
    std::string plain(static_cast<size_t>(size), '\0');
    EXPECT_EQ(cipher.Decrypt(sealed.data(), size, nullptr, 0, false), n);
    EXPECT_EQ(cipher.Decrypt(sealed.data(), size, plain.data(), size, false), 0);
    EXPECT_EQ(plain.substr(0, static_cast<size_t>(n)), source.substr(0, static_cast<size_t>(n)));

    int textSize = cipher.Encrypt(source.data(), n, nullptr, 0, true);
    EXPECT_EQ(textSize, Base64EncodedSize(size) + 1);
    std::string text(static_cast<size_t>(textSize), '\0');
    cipher.Encrypt(source.data(), n, text.data(), textSize, true);
    EXPECT_EQ(cipher.Decrypt(text.data(), textSize - 1, nullptr, 0, true), n);
  }
  EXPECT_EQ(std::string(cipher.DecryptText(cipher.EncryptText("hello")).c_str()), "hello");
  // A 13-character key is read as 14 with a "B" appended: 12 key bytes, the same cipher.
  EXPECT_STREQ(TCipher("c2VjcmV0a2V5Z").EncryptText("x").c_str(),
               TCipher("c2VjcmV0a2V5ZB").EncryptText("x").c_str());
}

TEST(Cipher, BadInputGivesNothing) {
  TCipher none("");
  EXPECT_FALSE(none.IsValid());
  EXPECT_STREQ(none.EncryptText("x").c_str(), "");
  EXPECT_STREQ(none.DecryptText("AAAAAAAAAAA=").c_str(), "");
  TCipher cipher("a2V5");
  for (const char* text : {"", "A", "not base64 at all!", "AAAAAAAAAAA=", "////////////"})
    EXPECT_STREQ(cipher.DecryptText(text).c_str(), "") << text;
  EXPECT_STREQ(TCipher("b3RoZXI=").DecryptText(cipher.EncryptText("secret")).c_str(), "");
}

TEST(ComputerId, FromAKnownAddress) {
  const uint8_t address[8] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0, 0};
  EXPECT_STREQ(ComputerIdFromAddress(address).c_str(), "QBSDQDWHQFFJWKDK");
  TString id = GetComputerId();
  ASSERT_EQ(id.Length(), 16);
  for (int i = 0; i < 16; ++i) {
    unsigned char c = static_cast<unsigned char>(id.GetAt(i));
    if (i % 2 == 0)
      EXPECT_TRUE(c >= 64 && c <= 95);
    else
      EXPECT_TRUE(c >= 'B' && c <= 'P');
  }
}
