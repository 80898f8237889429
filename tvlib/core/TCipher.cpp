// The store cipher: Blowfish in ECB mode, padded, in Base64 text.
#include "tvlib/core/TCipher.h"

#include <cstring>
#include <vector>

#include "tvlib/core/TBase64.h"

namespace {

constexpr int kBlock = 8;

// The two-call protocol: copy when the output is large enough, else answer the size.
int CopyOut(const std::string& result, void* out, int outSize) {
  int size = static_cast<int>(result.size());
  if (!out || outSize < size) return size;
  std::memcpy(out, result.data(), result.size());
  return 0;
}

}  // namespace

TCipher::TCipher(const TString& keyText) {
  TString text = keyText;
  if (text.Length() % 4 == 1) text += "B";
  int length = text.Length();
  if (length == 0) return;
  std::vector<unsigned char> key(static_cast<size_t>(Base64DecodedSize(length)), 0);
  Base64Decode(key.data(), text.c_str(), length);
  // Bytes that came from pad characters stay in the key as zeros.
  mBlowfish = std::make_unique<TBlowfish>(key.data(), key.size());
}

TCipher::~TCipher() = default;

std::string TCipher::EncryptBytes(const void* bytes, int n, bool asBase64) const {
  if (!mBlowfish || n < 0 || (n > 0 && !bytes)) return {};
  int pad = kBlock - n % kBlock;
  std::string data(static_cast<size_t>(n + pad), static_cast<char>(pad));
  if (n) std::memcpy(data.data(), bytes, static_cast<size_t>(n));
  for (size_t i = 0; i < data.size(); i += kBlock)
    mBlowfish->EncryptBlock(reinterpret_cast<unsigned char*>(data.data() + i));
  if (!asBase64) return data;
  std::string text(static_cast<size_t>(Base64EncodedSize(n + pad)) + 1, '\0');
  Base64Encode(text.data(), data.data(), n + pad);
  return text;  // with its NUL
}

std::string TCipher::DecryptBytes(const void* bytes, int n, bool fromBase64) const {
  if (!mBlowfish || n <= 0 || !bytes) return {};
  std::string data;
  if (fromBase64) {
    data.assign(static_cast<size_t>(Base64DecodedSize(n)), '\0');
    data.resize(static_cast<size_t>(Base64Decode(data.data(), static_cast<const char*>(bytes), n)));
  } else {
    data.assign(static_cast<const char*>(bytes), static_cast<size_t>(n));
  }
  size_t length = data.size();
  if (length == 0) return {};
  data.resize((length + kBlock - 1) / kBlock * kBlock, '\0');
  for (size_t i = 0; i < data.size(); i += kBlock)
    mBlowfish->DecryptBlock(reinterpret_cast<unsigned char*>(data.data() + i));
  int pad = static_cast<signed char>(data.back());
  if (pad < 1 || pad > kBlock || static_cast<size_t>(pad) > length) return {};
  data.resize(length - static_cast<size_t>(pad));
  return data;
}

int TCipher::Encrypt(const void* bytes, int n, void* out, int outSize, bool asBase64) const {
  return CopyOut(EncryptBytes(bytes, n, asBase64), out, outSize);
}

int TCipher::Decrypt(const void* bytes, int n, void* out, int outSize, bool fromBase64) const {
  return CopyOut(DecryptBytes(bytes, n, fromBase64), out, outSize);
}

TString TCipher::EncryptText(const TString& text) const {
  std::string result = EncryptBytes(text.c_str(), text.Length() + 1, true);
  return result.c_str();
}

TString TCipher::DecryptText(const TString& base64) const {
  std::string result = DecryptBytes(base64.c_str(), base64.Length(), true);
  return TString(result.data(), static_cast<int>(result.size()));
}
