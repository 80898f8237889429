// TString: null and empty, capacity, copy-on-write, find, replace, numbers and formatting.
#include "tvlib/core/TString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

int Capacity(const TString& s) {
  return s.Data() ? s.Data()->capacity : -1;
}
int RefCount(const TString& s) {
  return s.Data() ? s.Data()->refCount.load() : 0;
}

}  // namespace

TEST(TString, NullAndEmptyAreEqual) {
  TString null;
  TString fromNullPointer(static_cast<const char*>(nullptr));
  EXPECT_EQ(null.Data(), nullptr);
  EXPECT_EQ(Capacity(fromNullPointer), 16);
  for (const TString* s : {&null, &fromNullPointer}) {
    EXPECT_EQ(s->Length(), 0);
    EXPECT_STREQ(s->c_str(), "");
    EXPECT_EQ(*s, TString(""));
  }
  EXPECT_EQ(null, fromNullPointer);
  EXPECT_LT(null, TString("a"));
}

TEST(TString, CapacityRules) {
  EXPECT_EQ(Capacity(TString("hello")), 6);      // strlen + 1, no minimum
  EXPECT_EQ(Capacity(TString("hello", 3)), 16);  // max(n + 1, 16)
  EXPECT_EQ(Capacity(TString("0123456789abcdefXYZ", 19)), 20);
  EXPECT_EQ(Capacity(TString("ab") + TString("cd")), 16);  // growth: at least 16
  EXPECT_EQ(Capacity(TString("ab") + 'c'), 16);
  TString bytes("a\0b", 3);
  EXPECT_EQ(bytes.Length(), 1);  // the length stops at the first NUL
}

TEST(TString, CopyOnWrite) {
  TString a("Hello");
  TString b = a;
  EXPECT_EQ(a.Data(), b.Data());
  EXPECT_EQ(RefCount(a), 2);

  b.Reserve(4);  // fits: the shared buffer stays shared
  EXPECT_EQ(a.Data(), b.Data());

  b.ToLower();
  EXPECT_STREQ(a.c_str(), "Hello");
  EXPECT_STREQ(b.c_str(), "hello");
  EXPECT_EQ(Capacity(b), 6);
  EXPECT_EQ(RefCount(a), 1);

  b = b;  // self-assignment keeps the text
  EXPECT_STREQ(b.c_str(), "hello");
}

TEST(TString, AppendToItselfAndToSharedBuffers) {
  TString a("ab");
  a += a;
  EXPECT_STREQ(a.c_str(), "abab");
  TString b = a;
  b += TString("!");
  EXPECT_STREQ(a.c_str(), "abab");
  EXPECT_STREQ(b.c_str(), "abab!");
}

TEST(TString, FindTable) {
  const TString banana("banana");
  struct Case {
    const char* needle;
    int flags, start, expected;
  };
  const Case cases[] = {
      {"an", TString::kBackward, 0, 3},
      {"AN", TString::kNoCase, 0, 1},
      {"AN", 0, 0, -1},
      {"", 0, 2, 2},    // an empty needle matches at start
      {"a", 0, 6, -1},  // start at the end
      {"a", 0, 99, -1},
      {"na", 0, 3, 4},
      {"banana!", 0, 0, -1},
      {"a", 0, -5, 1},  // a negative start is clamped
  };
  for (const Case& c : cases)
    EXPECT_EQ(banana.Find(c.needle, c.flags, c.start), c.expected) << c.needle << " " << c.flags;

  EXPECT_EQ(banana.FindChar('a', TString::kBackward, 0), 5);
  EXPECT_EQ(banana.FindChar('a', TString::kBackward, 1), 3);
  EXPECT_EQ(banana.FindChar('N', TString::kNoCase, 0), 2);
  EXPECT_EQ(banana.FindChar('a', 0, 6), -1);
  EXPECT_EQ(TString().FindChar('a'), -1);
}

TEST(TString, ReplaceTable) {
  struct Case {
    const char* text;
    const char* find;
    const char* with;
    int flags;
    const char* expected;
  };
  const Case cases[] = {
      {"banana", "a", "xy", TString::kAll, "bxynxynxy"},
      {"banana", "a", "xy", 0, "bxynana"},
      {"banana", "an", "", TString::kAll, "ba"},
      {"banana", "AN", "o", TString::kAll | TString::kNoCase, "booa"},
      {"aaa", "a", "aa", TString::kAll, "aaaaaa"},  // no rescanning of the replacement
      {"abc", "", "x", TString::kAll, "xabc"},      // an empty search text ends after one
      {"abc", "zz", "x", TString::kAll, "abc"},
  };
  for (const Case& c : cases) {
    TString s(c.text);
    EXPECT_STREQ(s.Replace(c.find, c.with, c.flags).c_str(), c.expected) << c.text;
  }
  TString null;
  null.Replace("a", "b");
  EXPECT_EQ(null.Data(), nullptr);
}

TEST(TString, SubstrAndErase) {
  const TString hello("hello");
  EXPECT_STREQ(hello.Substr(2, -1).c_str(), "llo");
  EXPECT_STREQ(hello.Substr(1, 3).c_str(), "ell");
  EXPECT_STREQ(hello.Substr(9, 2).c_str(), "");
  EXPECT_EQ(Capacity(hello.Substr(9, 2)), 16);
  EXPECT_STREQ(hello.Substr(3, INT_MAX).c_str(), "lo");  // never a huge allocation
  EXPECT_LE(Capacity(hello.Substr(3, INT_MAX)), 16);

  struct Case {
    int start, count;
    const char* expected;
  };
  const Case cases[] = {{1, -1, "h"}, {1, 2, "hlo"}, {3, 99, "hel"}, {5, 1, "hello"}, {0, 5, ""}};
  for (const Case& c : cases) {
    TString s = hello;
    s.Erase(c.start, c.count);
    EXPECT_STREQ(s.c_str(), c.expected) << c.start << "," << c.count;
  }
  EXPECT_STREQ(hello.c_str(), "hello");
}

TEST(TString, WriteAtDoublesCapacity) {
  TString s("abc");  // capacity 4
  EXPECT_EQ(s.WriteAt(-1, "defg", 4, true), 7);
  EXPECT_STREQ(s.c_str(), "abcdefg");
  EXPECT_EQ(Capacity(s), 16);  // 4 doubled to 8 (needed), at least 16
  s.WriteAt(-1, "0123456789", 10, true);
  EXPECT_EQ(Capacity(s), 32);
  s.WriteAt(1, "XY", 2, false);  // without the terminator the rest stays
  EXPECT_STREQ(s.c_str(), "aXYdefg0123456789");
  TString empty;
  empty.WriteAt(0, "hi", 2, true);
  EXPECT_STREQ(empty.c_str(), "hi");
}

// The buffer keeps the text's length, so appending never rescans the text: after every kind of
// change it is still where the first NUL is.
TEST(TString, KeepsItsLengthThroughEveryChange) {
  auto expectWhole = [](const TString& s) {
    EXPECT_EQ(s.Length(), static_cast<int>(std::strlen(s.c_str()))) << s.c_str();
  };
  TString s("abcdef");
  s.Erase(3);  // "abc", with "ef" left behind the NUL
  expectWhole(s);
  s.WriteAt(3, "X", 1, false);  // the old bytes behind run on: "abcXef"
  EXPECT_STREQ(s.c_str(), "abcXef");
  expectWhole(s);
  s.WriteAt(1, "Y\0Z", 3, false);  // a NUL written cuts the text there
  EXPECT_STREQ(s.c_str(), "aY");
  expectWhole(s);
  s += TString("tail");
  s.Replace("a", "longer", TString::kAll);
  s.ToLower();
  expectWhole(s);
  EXPECT_EQ(TString("ab\0cd", 5).Length(), 2);
  expectWhole(TString("abc") + '\0');
  expectWhole(TString::Format("%c%s", 0, "x"));
  // Appending a piece at a time doubles the buffer: a bounded number of copies in all.
  TString grown;
  int reallocations = 0;
  for (int i = 0; i < 100000; ++i) {
    const TStringData* before = grown.Data();
    grown += TString("x");
    reallocations += grown.Data() != before;
  }
  EXPECT_EQ(grown.Length(), 100000);
  EXPECT_LE(reallocations, 20);
}

TEST(TString, ToIntReadsLikeAtoiAndSaturates) {
  struct Case {
    const char* text;
    int expected;
  };
  const Case cases[] = {{"42", 42},
                        {"  -17x", -17},
                        {"+5", 5},
                        {"abc", 0},
                        {"", 0},
                        {"2147483647", INT_MAX},
                        {"99999999999", INT_MAX},
                        {"-2147483648", INT_MIN},
                        {"-99999999999999999999", INT_MIN}};
  for (const Case& c : cases) EXPECT_EQ(TString(c.text).ToInt(), c.expected) << c.text;
  EXPECT_EQ(TString().ToInt(), 0);
}

TEST(TString, CompareIsUnsignedBytewise) {
  EXPECT_EQ(TString("a").Compare("b"), -1);
  EXPECT_EQ(TString("b").Compare("a"), 1);
  EXPECT_EQ(TString("\xe9").Compare("z"), 1);  // bytes above 127 sort after ASCII
  EXPECT_EQ(TString("ab").Compare("abc"), -1);
  EXPECT_EQ(TString("A").GetAt(0), 'A');
  EXPECT_EQ(TString("A").GetAt(1), 0);
  EXPECT_EQ(TString("A").GetAt(-1), 0);
}

TEST(TString, FormattingKeepsLongTextWhole) {
  std::string long4095(4095, 'x');
  EXPECT_EQ(TString::Format("%s", long4095.c_str()).Length(), 4095);
  std::string long10k(10000, 'y');
  TString s = TString::Format("<%s>", long10k.c_str());
  EXPECT_EQ(s.Length(), 10002);
  EXPECT_EQ(s.GetAt(10001), '>');
  s.SetFormatted("%d-%s", 7, "z");
  EXPECT_STREQ(s.c_str(), "7-z");
}

TEST(TString, CopiesCrossThreads) {
  TString shared("shared text");
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([shared] {
      for (int i = 0; i < 10000; ++i) {
        TString copy = shared;
        ASSERT_EQ(copy.Length(), 11);
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(RefCount(shared), 1);
}
