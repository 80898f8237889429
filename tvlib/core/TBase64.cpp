// Base64 encoding and decoding.
#include "tvlib/core/TBase64.h"

#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
constexpr char kPad = '=';

uint32_t SixBits(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<uint32_t>(c - 'A');
  if (c >= 'a' && c <= 'z') return static_cast<uint32_t>(c - 'a' + 26);
  if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0' + 52);
  if (c == '+') return 62;
  if (c == '/') return 63;
  return 0;  // the pad and anything unknown
}

}  // namespace

int Base64EncodedSize(int n) {
  return n <= 0 ? 0 : (n + 2) / 3 * 4;
}

int Base64Encode(char* out, const void* bytes, int n) {
  auto* in = static_cast<const unsigned char*>(bytes);
  int written = 0;
  for (int i = 0; i < n; i += 3) {
    int left = n - i;
    uint32_t group = static_cast<uint32_t>(in[i]) << 16;
    if (left > 1) group |= static_cast<uint32_t>(in[i + 1]) << 8;
    if (left > 2) group |= in[i + 2];
    out[written++] = kAlphabet[group >> 18];
    out[written++] = kAlphabet[(group >> 12) & 63];
    out[written++] = left > 1 ? kAlphabet[(group >> 6) & 63] : kPad;
    out[written++] = left > 2 ? kAlphabet[group & 63] : kPad;
  }
  return written;
}

int Base64DecodedSize(int n) {
  return n <= 0 ? 0 : (n + 3) / 4 * 3;
}

int Base64Decode(void* out, const char* text, int n) {
  auto* bytes = static_cast<unsigned char*>(out);
  int produced = 0;
  for (int i = 0; i < n; i += 4) {
    char c[4];
    for (int k = 0; k < 4; ++k) c[k] = i + k < n ? text[i + k] : kPad;
    uint32_t group = SixBits(c[0]) << 18 | SixBits(c[1]) << 12 | SixBits(c[2]) << 6 | SixBits(c[3]);
    int count = 3;
    if (c[3] == kPad) count = c[2] == kPad ? 1 : 2;
    bytes[produced] = static_cast<unsigned char>(group >> 16);
    if (count > 1) bytes[produced + 1] = static_cast<unsigned char>(group >> 8);
    if (count > 2) bytes[produced + 2] = static_cast<unsigned char>(group);
    produced += count;
  }
  return produced;
}
