// Enciphers the stores a player must not edit by hand: Blowfish in ECB mode under a key
// given as Base64 text, with the enciphered bytes optionally travelling as Base64 text.
//
// A buffer of n bytes gets p = 8 - n % 8 pad bytes of value p (a whole block when n is a
// multiple of 8). Encrypt and Decrypt follow the two-call size protocol: with a null or
// too small output they answer the size needed, else they copy and answer 0. An empty key
// gives no cipher: every operation then answers 0 or an empty text. Deciphered data whose
// last byte is not a pad value (1 to 8) gives nothing; no integrity check beyond that.
#pragma once

#include <memory>
#include <string>

#include "tvlib/core/TBlowfish.h"
#include "tvlib/core/TString.h"

class TCipher {
 public:
  explicit TCipher(const TString& keyText);
  ~TCipher();
  TCipher(const TCipher&) = delete;
  TCipher& operator=(const TCipher&) = delete;

  // False for an empty key.
  bool IsValid() const { return mBlowfish != nullptr; }
  int Encrypt(const void* bytes, int n, void* out, int outSize, bool asBase64) const;
  int Decrypt(const void* bytes, int n, void* out, int outSize, bool fromBase64) const;
  // The text and its NUL, enciphered, as Base64.
  TString EncryptText(const TString& text) const;
  // The reverse of EncryptText; empty for what is no cipher text of this key.
  TString DecryptText(const TString& base64) const;

 private:
  std::string EncryptBytes(const void* bytes, int n, bool asBase64) const;
  std::string DecryptBytes(const void* bytes, int n, bool fromBase64) const;

  std::unique_ptr<TBlowfish> mBlowfish;
};
