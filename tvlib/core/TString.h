// The engine's one text type.
//
// A TString is a single pointer to a shared, reference-counted buffer: copies share the
// text until one of them writes (copy on write). Text is 8-bit and NUL-terminated; lengths
// are counted in bytes up to the first NUL. The buffer keeps that length, so reading it and
// appending never rescan the text: a text built piece by piece grows in linear time. A null
// pointer is the empty string and reads as "".
//
// Capacity rules (they decide when a buffer is reallocated and are relied on by callers):
// built from NUL-terminated text, strlen + 1; built from a byte run of n bytes,
// max(n + 1, 16); every block made by growth, at least 16; WriteAt and += double.
//
// The reference count is atomic, so a string may be handed to another thread (the log
// does); a single TString object is still not to be written from two threads at once.
#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdint>

struct TStringData {
  char* text;                     // heap block of `capacity` bytes, NUL-terminated
  std::atomic<int32_t> refCount;  // number of TStrings sharing this buffer
  int32_t capacity;               // size of `text` in bytes
  int32_t length;                 // bytes before the first NUL of `text`
};

class TString {
 public:
  // Flags of FindChar, Find and Replace.
  static constexpr int kNoCase = 1;    // compare both sides through toupper
  static constexpr int kAll = 2;       // Replace every match
  static constexpr int kBackward = 4;  // search from the end; `start` counts from the end

  TString() = default;
  TString(const char* text);  // NOLINT(google-explicit-constructor): text literals convert
  TString(const char* bytes, int count);
  TString(const TString& other);
  TString(TString&& other) noexcept : mData(other.mData) { other.mData = nullptr; }
  ~TString() { Release(); }

  TString& operator=(const TString& other);
  TString& operator=(TString&& other) noexcept;
  TString& operator=(const char* text);

  // Drops this string's share of its buffer; the string is null afterwards.
  void Release();
  // Gives this string a private copy of its buffer when the buffer is shared.
  void MakeUnique();
  // Ensures a private buffer of at least n bytes; keeps a shared buffer that is big enough.
  void Reserve(int n);

  int Length() const;
  const char* c_str() const { return mData ? mData->text : ""; }
  char GetAt(int i) const;
  int Compare(const TString& other) const;
  bool operator==(const TString& other) const { return Compare(other) == 0; }
  bool operator!=(const TString& other) const { return Compare(other) != 0; }
  bool operator<(const TString& other) const { return Compare(other) < 0; }
  // Decimal value as atoi reads it, saturated to the int range.
  int ToInt() const;
  int FindChar(char c, int flags = 0, int start = 0) const;
  int Find(TString needle, int flags = 0, int start = 0) const;
  // `count` -1 means up to the end.
  TString Substr(int start, int count = -1) const;

  TString operator+(const TString& other) const;
  TString operator+(char c) const;
  TString& operator+=(const TString& other);

  static TString Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
  static TString FormatV(const char* format, va_list args) __attribute__((format(printf, 1, 0)));
  void SetFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));

  void ToLower();
  // Copies `count` bytes to `pos` (-1: the end), growing by doubling; a NUL follows them when
  // `terminate` is set. Returns pos + count.
  int WriteAt(int pos, const char* bytes, int count, bool terminate);
  TString& Replace(const TString& find, const TString& replacement, int flags = 0, int start = 0);
  // `count` -1 means up to the end.
  void Erase(int start, int count = -1);

  // For tests and diagnostics: the shared buffer, or null.
  const TStringData* Data() const { return mData; }

 private:
  static TStringData* Allocate(int capacity);
  void Adopt(TStringData* data);

  TStringData* mData = nullptr;
};
