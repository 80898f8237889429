// Value helpers shared by every module: type names, raw equality, the number scanners of narrow
// and wide text, number formatting and chunk identifiers for messages.
// The narrow scanner checks the syntax itself and hands the digits to std::from_chars, which is
// correctly rounded and independent of the locale.
#include "tvlib/script/Object.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace tvs {

const char* const kTypeNames[12] = {"nil",    "boolean", "userdata", "number",
                                    "string", "table",   "function", "userdata",
                                    "thread", "wstring", "proto",    "upval"};

bool RawEqual(const TValue* a, const TValue* b) {
  if (a->tt != b->tt) return false;
  switch (a->tt) {
    case kTNil:
      return true;
    case kTNumber:
      return a->v.n == b->v.n;
    case kTBoolean:
      return a->v.b == b->v.b;
    case kTLightUd:
      return a->v.p == b->v.p;
    default:
      return a->v.gc == b->v.gc;
  }
}

namespace {

bool IsSpace(unsigned c) {
  return c == ' ' || (c >= 9 && c <= 13);
}
bool IsDigit(unsigned c) {
  return c >= '0' && c <= '9';
}
int HexValue(unsigned c) {
  if (IsDigit(c)) return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

}  // namespace

bool StrToNumber(const char* s, size_t len, Number* result) {
  size_t i = 0;
  while (i < len && IsSpace(static_cast<unsigned char>(s[i]))) i++;
  const size_t start = i;
  bool negative = false;
  if (i < len && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const size_t digitsFrom = i;
  size_t mantissaDigits = 0;
  while (i < len && IsDigit(static_cast<unsigned char>(s[i]))) i++, mantissaDigits++;
  if (i < len && s[i] == '.') {
    i++;
    while (i < len && IsDigit(static_cast<unsigned char>(s[i]))) i++, mantissaDigits++;
  }
  if (mantissaDigits == 0) return false;
  if (i < len && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    if (j < len && (s[j] == '+' || s[j] == '-')) j++;
    if (j < len && IsDigit(static_cast<unsigned char>(s[j]))) {
      while (j < len && IsDigit(static_cast<unsigned char>(s[j]))) j++;
      i = j;
    }
  }
  const size_t end = i;
  while (i < len && IsSpace(static_cast<unsigned char>(s[i]))) i++;
  if (i != len || end == start) return false;
  double value = 0;
  auto [ptr, ec] = std::from_chars(s + digitsFrom, s + end, value, std::chars_format::general);
  if (ptr != s + end) return false;
  if (ec == std::errc::result_out_of_range) {
    // Overflow gives infinity and underflow zero, as the C library's conversion does.
    bool tiny = false;
    for (size_t k = digitsFrom; k < end; k++)
      if (s[k] == 'e' || s[k] == 'E') tiny = s[k + 1] == '-';
    value = tiny ? 0.0 : HUGE_VAL;
  }
  *result = negative ? -value : value;
  return true;
}

bool WStrToNumber(const char16_t* s, size_t len, Number* result) {
  size_t i = 0;
  auto at = [&](size_t k) -> unsigned { return k < len ? s[k] : 0u; };
  bool negative = false;
  double intPart = 0, frac = 0, base = 10;
  long exponent = 0;
  bool expNegative = false;
  if (at(0) == '0' && (at(1) == 'x' || at(1) == 'X')) {
    base = 2;
    i = 2;
    for (int d; (d = HexValue(at(i))) >= 0; i++) intPart = intPart * 16 + d;
    if (at(i) == '.') {
      i++;
      double weight = 1.0 / 16;
      for (int d; (d = HexValue(at(i))) >= 0; i++, weight /= 16) frac += d * weight;
      if (at(i) == 'p' || at(i) == 'P') {
        i++;
        if (at(i) == '+' || at(i) == '-') expNegative = at(i++) == '-';
        for (; IsDigit(at(i)); i++)
          exponent = exponent < 100000 ? exponent * 10 + (at(i) - '0') : exponent;
      }
    }
  } else {
    if (at(0) == '+' || at(0) == '-') negative = at(i++) == '-';
    for (; IsDigit(at(i)); i++) intPart = intPart * 10 + (at(i) - '0');
    if (at(i) == '.') {
      i++;
      double weight = 0.1;
      for (; IsDigit(at(i)); i++, weight /= 10) frac += (at(i) - '0') * weight;
    }
    if (at(i) == 'e' || at(i) == 'E') {
      i++;
      if (at(i) == '+' || at(i) == '-') expNegative = at(i++) == '-';
      for (; IsDigit(at(i)); i++)
        exponent = exponent < 100000 ? exponent * 10 + (at(i) - '0') : exponent;
    }
  }
  if (i == 0) return false;
  while (i < len && s[i] < 256 && IsSpace(s[i])) i++;
  if (i != len) return false;
  double value = intPart + frac;
  if (exponent != 0) {
    const double scale = std::pow(base, static_cast<double>(exponent));
    value = expNegative ? value / scale : value * scale;
  }
  *result = negative ? -value : value;
  return true;
}

int FormatNumber(Number n, char* buf) {
  return std::snprintf(buf, 32, "%.14g", n);
}

void ChunkId(char* out, const char* source, size_t bufsize) {
  std::string id;
  if (source[0] == '=') {
    id.assign(source + 1, strnlen(source + 1, bufsize - 1));
  } else if (source[0] == '@') {
    // Room for the file name once the surrounding " `...' " is accounted for.
    const size_t room = bufsize - sizeof(" `...' ");
    const char* name = source + 1;
    const size_t len = strlen(name);
    if (len > room)
      id = std::string("...") + (name + len - room);
    else
      id = name;
  } else {
    const size_t room = bufsize - sizeof(" [string \"...\"] ");
    size_t len = strcspn(source, "\n");
    if (len > room) len = room;
    id = "[string \"";
    id.append(source, len);
    if (source[len] != '\0') id += "...";
    id += "\"]";
  }
  const size_t n = id.size() < bufsize ? id.size() : bufsize - 1;
  memcpy(out, id.data(), n);
  out[n] = '\0';
}

}  // namespace tvs
