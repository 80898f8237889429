// TString's shared buffers, searching, formatting and conversions.
#include "tvlib/core/TString.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr int kMinCapacity = 16;
// Formatting starts in a stack buffer of this size and goes to the heap only for longer text.
constexpr int kFormatBuffer = 4096;

int ClampedLength(size_t n) {
  return n > INT_MAX - 1 ? INT_MAX - 1 : static_cast<int>(n);
}

// The capacity a buffer of `capacity` bytes grows to so that `needed` bytes fit: doubled until
// they do, so that a text appended to piece by piece is copied a bounded number of times.
int GrownCapacity(int capacity, long long needed) {
  long long request = std::max(capacity, 1);
  while (request < needed) request *= 2;
  return static_cast<int>(std::min<long long>(request, INT_MAX));
}

bool SameByte(unsigned char a, unsigned char b, bool noCase) {
  return noCase ? std::toupper(a) == std::toupper(b) : a == b;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Buffers

TStringData* TString::Allocate(int capacity) {
  // Zero-filled, so that bytes past the text always read as NUL (WriteAt may leave the
  // terminator to the bytes already there).
  auto* data = new TStringData;
  data->text = static_cast<char*>(std::calloc(static_cast<size_t>(capacity), 1));
  if (!data->text) throw std::bad_alloc();
  data->refCount.store(1, std::memory_order_relaxed);
  data->capacity = capacity;
  data->length = 0;
  return data;
}

void TString::Adopt(TStringData* data) {
  Release();
  mData = data;
}

TString::TString(const char* text) {
  if (!text) {
    mData = Allocate(kMinCapacity);
    return;
  }
  int length = ClampedLength(std::strlen(text));
  mData = Allocate(length + 1);
  std::memcpy(mData->text, text, static_cast<size_t>(length));
  mData->length = length;
}

TString::TString(const char* bytes, int count) {
  if (!bytes || count < 0) count = 0;
  mData = Allocate(std::max(count + 1, kMinCapacity));
  if (count > 0) std::memcpy(mData->text, bytes, static_cast<size_t>(count));
  mData->length = static_cast<int32_t>(strnlen(mData->text, static_cast<size_t>(count)));
}

TString::TString(const TString& other) : mData(other.mData) {
  if (mData) mData->refCount.fetch_add(1, std::memory_order_relaxed);
}

TString& TString::operator=(const TString& other) {
  if (mData == other.mData) return *this;
  if (other.mData) other.mData->refCount.fetch_add(1, std::memory_order_relaxed);
  Adopt(other.mData);
  return *this;
}

TString& TString::operator=(TString&& other) noexcept {
  if (this != &other) {
    Release();
    mData = other.mData;
    other.mData = nullptr;
  }
  return *this;
}

TString& TString::operator=(const char* text) {
  return *this = TString(text);
}

void TString::Release() {
  if (!mData) return;
  if (mData->refCount.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    std::free(mData->text);
    delete mData;
  }
  mData = nullptr;
}

void TString::MakeUnique() {
  if (mData && mData->refCount.load(std::memory_order_acquire) > 1) *this = TString(c_str());
}

void TString::Reserve(int n) {
  if (mData && n <= mData->capacity) return;
  TStringData* grown = Allocate(std::max(n, kMinCapacity));
  const int length = std::min(Length(), grown->capacity - 1);
  std::memcpy(grown->text, c_str(), static_cast<size_t>(length));
  grown->length = length;
  Adopt(grown);
}

// ---------------------------------------------------------------------------------------
// Reading

int TString::Length() const {
  return mData ? mData->length : 0;
}

char TString::GetAt(int i) const {
  return i < 0 || i >= Length() ? 0 : mData->text[i];
}

int TString::Compare(const TString& other) const {
  if (mData == other.mData) return 0;
  int c = std::strcmp(c_str(), other.c_str());  // compares as unsigned bytes
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int TString::ToInt() const {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(c_str());
  while (std::isspace(*p)) ++p;
  bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  long long value = 0;
  for (; std::isdigit(*p); ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;  // saturated below
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int TString::FindChar(char c, int flags, int start) const {
  int length = Length();
  start = std::max(start, 0);
  if (start >= length) return -1;
  bool noCase = flags & kNoCase;
  auto text = reinterpret_cast<const unsigned char*>(mData->text);
  if (flags & kBackward) {
    for (int i = length - start - 1; i >= 0; --i)
      if (SameByte(text[i], static_cast<unsigned char>(c), noCase)) return i;
    return -1;
  }
  for (int i = start; i < length; ++i)
    if (SameByte(text[i], static_cast<unsigned char>(c), noCase)) return i;
  return -1;
}

int TString::Find(TString needle, int flags, int start) const {
  int length = Length();
  start = std::max(start, 0);
  if (start >= length) return -1;
  bool noCase = flags & kNoCase;
  auto text = reinterpret_cast<const unsigned char*>(mData->text);
  auto pattern = reinterpret_cast<const unsigned char*>(needle.c_str());
  int needleLength = needle.Length();
  auto matchesAt = [&](int i) {
    for (int k = 0; k < needleLength; ++k)
      if (!SameByte(text[i + k], pattern[k], noCase)) return false;
    return true;
  };
  int last = length - needleLength + 1;
  if (flags & kBackward) {
    for (int i = last - start - 1; i >= 0; --i)
      if (matchesAt(i)) return i;
    return -1;
  }
  for (int i = start; i < last; ++i)
    if (matchesAt(i)) return i;
  return -1;
}

TString TString::Substr(int start, int count) const {
  int length = Length();
  start = std::max(start, 0);
  // Up to the end, the terminating NUL included; a longer count is cut there so that a
  // careless count never turns into a huge allocation.
  if (count < 0 || count > length - start + 1) count = std::max(length - start + 1, 0);
  if (start >= length || count == 0) return TString(nullptr, 0);
  TString result(nullptr, 0);
  result.Reserve(count + 1);
  std::strncpy(result.mData->text, mData->text + start, static_cast<size_t>(count));
  result.mData->text[count] = 0;
  result.mData->length = static_cast<int32_t>(std::strlen(result.mData->text));
  return result;
}

// ---------------------------------------------------------------------------------------
// Building new strings

TString TString::operator+(const TString& other) const {
  int a = Length(), b = other.Length();
  TString result;
  result.mData = Allocate(std::max(a + b + 1, kMinCapacity));
  std::memcpy(result.mData->text, c_str(), static_cast<size_t>(a));
  std::memcpy(result.mData->text + a, other.c_str(), static_cast<size_t>(b));
  result.mData->length = a + b;
  return result;
}

TString TString::operator+(char c) const {
  int a = Length();
  TString result;
  result.mData = Allocate(std::max(a + 2, kMinCapacity));
  std::memcpy(result.mData->text, c_str(), static_cast<size_t>(a));
  result.mData->text[a] = c;
  result.mData->length = c ? a + 1 : a;
  return result;
}

TString TString::FormatV(const char* format, va_list args) {
  char stackBuffer[kFormatBuffer];
  va_list again;
  va_copy(again, args);
  int n = std::vsnprintf(stackBuffer, sizeof stackBuffer, format, args);
  TString result;
  if (n < 0) {
    result = TString("");
  } else if (n < kFormatBuffer) {
    result = TString(stackBuffer);
  } else {
    result.mData = Allocate(n + 1);
    std::vsnprintf(result.mData->text, static_cast<size_t>(n) + 1, format, again);
    result.mData->length = static_cast<int32_t>(std::strlen(result.mData->text));  // a %c of 0
  }
  va_end(again);
  return result;
}

TString TString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  TString result = FormatV(format, args);
  va_end(args);
  return result;
}

// ---------------------------------------------------------------------------------------
// Changing a string in place

void TString::SetFormatted(const char* format, ...) {
  va_list args;
  va_start(args, format);
  *this = FormatV(format, args);
  va_end(args);
}

TString& TString::operator+=(const TString& other) {
  TString tail = other;  // keeps the appended text alive if it shares or is this buffer
  MakeUnique();
  int a = Length(), b = tail.Length();
  const long long needed = static_cast<long long>(a) + b + 1;
  if (needed > INT_MAX) throw std::bad_alloc();
  if (!mData || mData->capacity < needed)
    Reserve(mData ? GrownCapacity(mData->capacity, needed) : static_cast<int>(needed));
  std::memmove(mData->text + a, tail.c_str(), static_cast<size_t>(b));
  mData->text[a + b] = 0;
  mData->length = a + b;
  return *this;
}

void TString::ToLower() {
  MakeUnique();
  if (!mData) return;
  for (char* p = mData->text; *p; ++p)
    *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
}

int TString::WriteAt(int pos, const char* bytes, int count, bool terminate) {
  MakeUnique();
  int length = Length();
  if (pos < 0 || pos > length) pos = length;  // no gap of unwritten bytes before the text
  if (!bytes || count < 0) count = 0;
  long long needed = static_cast<long long>(pos) + count + 1;
  if (needed > INT_MAX) throw std::bad_alloc();
  long long request = needed;
  if (mData && mData->capacity < needed) request = GrownCapacity(mData->capacity, needed);
  Reserve(static_cast<int>(request));
  std::memcpy(mData->text + pos, bytes, static_cast<size_t>(count));
  if (terminate) mData->text[pos + count] = 0;
  // The text now ends at the first NUL written, else after the bytes when they reach the old
  // end (where the old bytes behind them, if any, run on to a NUL).
  const char* written = mData->text + pos;
  const void* nul = count ? std::memchr(written, 0, static_cast<size_t>(count)) : nullptr;
  const int end = pos + count;
  if (nul)
    mData->length = pos + static_cast<int32_t>(static_cast<const char*>(nul) - written);
  else if (terminate)
    mData->length = end;
  else if (end >= length)
    mData->length = end + static_cast<int32_t>(strnlen(mData->text + end,
                                                       static_cast<size_t>(mData->capacity - end)));
  return end;
}

TString& TString::Replace(const TString& find, const TString& replacement, int flags, int start) {
  // Local copies: either argument may be this very string.
  TString needle = find, with = replacement;
  MakeUnique();
  int findLength = needle.Length(), withLength = with.Length();
  if (!mData) {
    if (findLength) return *this;
    Reserve(withLength);
  }
  int delta = withLength - findLength;
  for (;;) {
    int pos = Find(needle, flags, start);
    if (pos < 0) break;
    start = pos + withLength;
    int length = Length();
    if (delta > 0) Reserve(length + delta + 1);
    if (delta != 0)
      std::memmove(mData->text + pos + withLength, mData->text + pos + findLength,
                   static_cast<size_t>(length - pos - findLength + 1));
    std::memcpy(mData->text + pos, with.c_str(), static_cast<size_t>(withLength));
    mData->length = length + delta;
    // An empty search text matches again right behind each insertion: replace it once.
    if (!(flags & kAll) || findLength == 0) break;
  }
  return *this;
}

void TString::Erase(int start, int count) {
  MakeUnique();
  int length = Length();
  start = std::max(start, 0);
  if (start >= length) return;
  if (count < 0 || count > length - start) count = length - start;
  if (start + count == length)
    mData->text[start] = 0;
  else
    std::memmove(mData->text + start, mData->text + start + count,
                 static_cast<size_t>(length - start - count + 1));
  mData->length = length - count;
}
