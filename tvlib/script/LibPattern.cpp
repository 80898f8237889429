// Pattern matching for string.find, string.gfind and string.gsub: character classes (%a %d
// ...), sets, the quantifiers * + - ?, anchors, captures (with position captures), back
// references and %b balances. Matching recurses per quantified item and capture; the depth is
// bounded so that a hostile pattern raises "pattern too complex" instead of exhausting the
// native stack, and so are the steps one match attempt may take, so that a pattern that
// backtracks exponentially fails the same way instead of running for minutes.
#include <cctype>
#include <cstring>

#include "tvlib/script/AuxLib.h"
#include "tvlib/script/LibStringParts.h"

namespace {

constexpr int kMaxCaptures = 32;
constexpr int kMaxMatchDepth = 200;
// Steps (Match calls) of one attempt at one subject position: a fixed allowance plus a share per
// remaining subject byte. Ordinary patterns take a few steps per byte; only patterns whose
// quantifiers backtrack over one another reach it.
constexpr size_t kMatchStepsBase = 100000;
constexpr size_t kMatchStepsPerByte = 256;
constexpr ptrdiff_t kCapUnfinished = -1;
constexpr ptrdiff_t kCapPosition = -2;
constexpr char kSpecials[] = "^$*+?.([%-";

struct MatchState {
  const char* srcInit;
  const char* srcEnd;
  const char* patEnd;
  lua_State* L;
  int level;     // captures open or closed
  int depth;     // nested Match calls
  size_t steps;  // Match calls left to the current attempt
  struct {
    const char* init;
    ptrdiff_t len;
  } capture[kMaxCaptures];
};

const char* Match(MatchState* ms, const char* s, const char* p);

int CheckCapture(MatchState* ms, int l) {
  l -= '1';
  if (l < 0 || l >= ms->level || ms->capture[l].len == kCapUnfinished)
    return luaL_error(ms->L, "invalid capture index");
  return l;
}

int CaptureToClose(MatchState* ms) {
  for (int level = ms->level - 1; level >= 0; level--) {
    if (ms->capture[level].len == kCapUnfinished) return level;
  }
  return luaL_error(ms->L, "invalid pattern capture");
}

// The end of the single-character class at p.
const char* ClassEnd(MatchState* ms, const char* p) {
  const char c = *p++;
  if (c == '%') {
    if (p >= ms->patEnd) luaL_error(ms->L, "malformed pattern (ends with `%%')");
    return p + 1;
  }
  if (c == '[') {
    if (p < ms->patEnd && *p == '^') p++;
    do {  // the first character of a set is itself even when it is `]'
      if (p >= ms->patEnd) luaL_error(ms->L, "malformed pattern (missing `]')");
      if (*p++ == '%' && p < ms->patEnd) p++;
    } while (p >= ms->patEnd || *p != ']');
    return p + 1;
  }
  return p;
}

bool MatchClass(int c, int cl) {
  // Class letters are ASCII; a capital letter names the complement.
  const bool complement = cl >= 'A' && cl <= 'Z';
  bool res;
  switch (complement ? cl + ('a' - 'A') : cl) {
    case 'a':
      res = std::isalpha(c);
      break;
    case 'c':
      res = std::iscntrl(c);
      break;
    case 'd':
      res = std::isdigit(c);
      break;
    case 'l':
      res = std::islower(c);
      break;
    case 'p':
      res = std::ispunct(c);
      break;
    case 's':
      res = std::isspace(c);
      break;
    case 'u':
      res = std::isupper(c);
      break;
    case 'w':
      res = std::isalnum(c);
      break;
    case 'x':
      res = std::isxdigit(c);
      break;
    case 'z':
      res = c == 0;
      break;
    default:
      return cl == c;
  }
  return complement ? !res : res;
}

// p is the `[' of a set and ec its closing `]'.
bool MatchBracket(int c, const char* p, const char* ec) {
  bool sig = true;
  if (p[1] == '^') {
    sig = false;
    p++;
  }
  while (++p < ec) {
    if (*p == '%') {
      p++;
      if (MatchClass(c, static_cast<unsigned char>(*p))) return sig;
    } else if (p[1] == '-' && p + 2 < ec) {
      p += 2;
      if (static_cast<unsigned char>(p[-2]) <= c && c <= static_cast<unsigned char>(*p)) return sig;
    } else if (static_cast<unsigned char>(*p) == c) {
      return sig;
    }
  }
  return !sig;
}

bool SingleMatch(int c, const char* p, const char* ep) {
  switch (*p) {
    case '.':
      return true;
    case '%':
      return MatchClass(c, static_cast<unsigned char>(p[1]));
    case '[':
      return MatchBracket(c, p, ep - 1);
    default:
      return static_cast<unsigned char>(*p) == c;
  }
}

bool SingleMatchAt(MatchState* ms, const char* s, const char* p, const char* ep) {
  return s < ms->srcEnd && SingleMatch(static_cast<unsigned char>(*s), p, ep);
}

const char* MatchBalance(MatchState* ms, const char* s, const char* p) {
  if (p + 1 >= ms->patEnd) luaL_error(ms->L, "unbalanced pattern");
  if (s >= ms->srcEnd || *s != *p) return nullptr;
  const char b = *p, e = p[1];
  int cont = 1;
  while (++s < ms->srcEnd) {
    if (*s == e) {
      if (--cont == 0) return s + 1;
    } else if (*s == b) {
      cont++;
    }
  }
  return nullptr;
}

const char* MaxExpand(MatchState* ms, const char* s, const char* p, const char* ep) {
  ptrdiff_t i = 0;
  while (SingleMatchAt(ms, s + i, p, ep)) i++;
  for (; i >= 0; i--) {  // the longest repetition that lets the rest match
    const char* res = Match(ms, s + i, ep + 1);
    if (res != nullptr) return res;
  }
  return nullptr;
}

const char* MinExpand(MatchState* ms, const char* s, const char* p, const char* ep) {
  for (;;) {
    const char* res = Match(ms, s, ep + 1);
    if (res != nullptr) return res;
    if (!SingleMatchAt(ms, s, p, ep)) return nullptr;
    s++;
  }
}

const char* StartCapture(MatchState* ms, const char* s, const char* p, ptrdiff_t what) {
  if (ms->level >= kMaxCaptures) luaL_error(ms->L, "too many captures");
  ms->capture[ms->level].init = s;
  ms->capture[ms->level].len = what;
  ms->level++;
  const char* res = Match(ms, s, p);
  if (res == nullptr) ms->level--;
  return res;
}

const char* EndCapture(MatchState* ms, const char* s, const char* p) {
  const int l = CaptureToClose(ms);
  ms->capture[l].len = s - ms->capture[l].init;
  const char* res = Match(ms, s, p);
  if (res == nullptr) ms->capture[l].len = kCapUnfinished;
  return res;
}

const char* MatchCapture(MatchState* ms, const char* s, int l) {
  l = CheckCapture(ms, l);
  const size_t len = static_cast<size_t>(ms->capture[l].len);
  if (static_cast<size_t>(ms->srcEnd - s) >= len && std::memcmp(ms->capture[l].init, s, len) == 0)
    return s + len;
  return nullptr;
}

const char* MatchItems(MatchState* ms, const char* s, const char* p) {
  for (;;) {
    if (p == ms->patEnd) return s;
    switch (*p) {
      case '(':
        if (p + 1 < ms->patEnd && p[1] == ')') return StartCapture(ms, s, p + 2, kCapPosition);
        return StartCapture(ms, s, p + 1, kCapUnfinished);
      case ')':
        return EndCapture(ms, s, p + 1);
      case '%':
        if (p + 1 < ms->patEnd && p[1] == 'b') {
          s = MatchBalance(ms, s, p + 2);
          if (s == nullptr) return nullptr;
          p += 4;
          continue;
        }
        if (p + 1 < ms->patEnd && std::isdigit(static_cast<unsigned char>(p[1]))) {
          s = MatchCapture(ms, s, static_cast<unsigned char>(p[1]));
          if (s == nullptr) return nullptr;
          p += 2;
          continue;
        }
        break;
      case '$':
        if (p + 1 == ms->patEnd) return s == ms->srcEnd ? s : nullptr;
        break;
      default:
        break;
    }
    const char* ep = ClassEnd(ms, p);
    const bool m = SingleMatchAt(ms, s, p, ep);
    const char next = ep < ms->patEnd ? *ep : '\0';
    if (ep < ms->patEnd && next == '?') {
      if (m) {
        const char* res = Match(ms, s + 1, ep + 1);
        if (res != nullptr) return res;
      }
      p = ep + 1;
      continue;
    }
    if (ep < ms->patEnd && next == '*') return MaxExpand(ms, s, p, ep);
    if (ep < ms->patEnd && next == '+') return m ? MaxExpand(ms, s + 1, p, ep) : nullptr;
    if (ep < ms->patEnd && next == '-') return MinExpand(ms, s, p, ep);
    if (!m) return nullptr;
    s++;
    p = ep;
  }
}

const char* Match(MatchState* ms, const char* s, const char* p) {
  if (++ms->depth > kMaxMatchDepth || ms->steps-- == 0) luaL_error(ms->L, "pattern too complex");
  const char* res = MatchItems(ms, s, p);
  ms->depth--;
  return res;
}

void InitMatch(MatchState* ms, lua_State* L, const char* s, size_t ls, const char* p, size_t lp) {
  ms->L = L;
  ms->srcInit = s;
  ms->srcEnd = s + ls;
  ms->patEnd = p + lp;
  ms->level = 0;
  ms->depth = 0;
  ms->steps = 0;
}

// Matches the pattern p at subject position s as a fresh attempt: no captures, a full step
// allowance.
const char* MatchAttempt(MatchState* ms, const char* s, const char* p) {
  ms->level = 0;
  ms->steps = kMatchStepsBase + kMatchStepsPerByte * static_cast<size_t>(ms->srcEnd - s);
  return Match(ms, s, p);
}

void PushOneCapture(MatchState* ms, int i, const char* s, const char* e) {
  if (i < 0) luaL_error(ms->L, "invalid capture index");
  if (i >= ms->level) {
    if (i != 0) luaL_error(ms->L, "invalid capture index");
    lua_pushlstring(ms->L, s, static_cast<size_t>(e - s));  // no captures: the whole match
    return;
  }
  const ptrdiff_t l = ms->capture[i].len;
  if (l == kCapUnfinished) luaL_error(ms->L, "unfinished capture");
  if (l == kCapPosition)
    lua_pushnumber(ms->L, static_cast<lua_Number>(ms->capture[i].init - ms->srcInit + 1));
  else
    lua_pushlstring(ms->L, ms->capture[i].init, static_cast<size_t>(l));
}

int PushCaptures(MatchState* ms, const char* s, const char* e) {
  const int nlevels = ms->level == 0 && s != nullptr ? 1 : ms->level;
  luaL_checkstack(ms->L, nlevels, "too many captures");
  for (int i = 0; i < nlevels; i++) PushOneCapture(ms, i, s, e);
  return nlevels;
}

const char* FindPlain(const char* s, size_t ls, const char* p, size_t lp) {
  if (lp == 0) return s;
  if (lp > ls) return nullptr;
  const char* last = s + (ls - lp);
  for (const char* q = s; q <= last; q++) {
    q = static_cast<const char*>(std::memchr(q, *p, static_cast<size_t>(last - q) + 1));
    if (q == nullptr) return nullptr;
    if (std::memcmp(q + 1, p + 1, lp - 1) == 0) return q;
  }
  return nullptr;
}

bool HasSpecials(const char* p, size_t lp) {
  for (size_t i = 0; i < lp; i++) {
    if (std::strchr(kSpecials, p[i]) != nullptr && p[i] != '\0') return true;
  }
  return false;
}

int GfindStep(lua_State* L) {
  size_t ls, lp;
  const char* s = lua_tostring(L, lua_upvalueindex(1));
  ls = lua_strlen(L, lua_upvalueindex(1));
  const char* p = lua_tostring(L, lua_upvalueindex(2));
  lp = lua_strlen(L, lua_upvalueindex(2));
  MatchState ms;
  InitMatch(&ms, L, s, ls, p, lp);
  for (const char* src = s + static_cast<size_t>(lua_tonumber(L, lua_upvalueindex(3)));
       src <= ms.srcEnd; src++) {
    const char* e = MatchAttempt(&ms, src, p);
    if (e != nullptr) {
      ptrdiff_t newstart = e - s;
      if (e == src) newstart++;  // an empty match: move on
      lua_pushnumber(L, static_cast<lua_Number>(newstart));
      lua_replace(L, lua_upvalueindex(3));
      return PushCaptures(&ms, src, e);
    }
  }
  return 0;
}

void AddReplacement(MatchState* ms, luaL_Buffer* b, const char* s, const char* e) {
  lua_State* L = ms->L;
  if (lua_isstring(L, 3)) {
    const char* news = lua_tostring(L, 3);
    const size_t l = lua_strlen(L, 3);
    for (size_t i = 0; i < l; i++) {
      if (news[i] != '%' || i + 1 == l) {
        luaL_putchar(b, news[i]);
        continue;
      }
      i++;
      if (!std::isdigit(static_cast<unsigned char>(news[i]))) {
        luaL_putchar(b, news[i]);
        continue;
      }
      PushOneCapture(ms, news[i] - '1', s, e);
      luaL_addvalue(b);
    }
    return;
  }
  lua_pushvalue(L, 3);
  const int n = PushCaptures(ms, s, e);
  lua_call(L, n, 1);
  if (lua_isstring(L, -1))
    luaL_addvalue(b);
  else
    lua_pop(L, 1);
}

}  // namespace

int StrFind(lua_State* L) {
  size_t ls, lp;
  const char* s = luaL_checklstring(L, 1, &ls);
  const char* p = luaL_checklstring(L, 2, &lp);
  long long init = PosRelative(luaL_optint(L, 3, 1), ls) - 1;
  if (init < 0)
    init = 0;
  else if (init > static_cast<long long>(ls))
    init = static_cast<long long>(ls);
  if (lua_toboolean(L, 4) || !HasSpecials(p, lp)) {
    const char* s2 = FindPlain(s + init, ls - static_cast<size_t>(init), p, lp);
    if (s2 != nullptr) {
      lua_pushnumber(L, static_cast<lua_Number>(s2 - s + 1));
      lua_pushnumber(L, static_cast<lua_Number>(s2 - s + static_cast<ptrdiff_t>(lp)));
      return 2;
    }
  } else {
    MatchState ms;
    const bool anchor = lp > 0 && *p == '^';
    InitMatch(&ms, L, s, ls, p + anchor, lp - anchor);
    const char* s1 = s + init;
    do {
      const char* e = MatchAttempt(&ms, s1, p + anchor);
      if (e != nullptr) {
        lua_pushnumber(L, static_cast<lua_Number>(s1 - s + 1));
        lua_pushnumber(L, static_cast<lua_Number>(e - s));
        return PushCaptures(&ms, nullptr, nullptr) + 2;
      }
    } while (s1++ < ms.srcEnd && !anchor);
  }
  lua_pushnil(L);
  return 1;
}

int StrGfind(lua_State* L) {
  luaL_checkstring(L, 1);
  luaL_checkstring(L, 2);
  lua_settop(L, 2);
  lua_pushnumber(L, 0);
  lua_pushcclosure(L, GfindStep, 3);
  return 1;
}

int StrGsub(lua_State* L) {
  size_t srcl, lp;
  const char* src = luaL_checklstring(L, 1, &srcl);
  const char* p = luaL_checklstring(L, 2, &lp);
  const int maxS = luaL_optint(L, 4, static_cast<int>(srcl > INT32_MAX - 1 ? INT32_MAX : srcl + 1));
  const bool anchor = lp > 0 && *p == '^';
  luaL_argcheck(L, lua_gettop(L) >= 3 && (lua_isstring(L, 3) || lua_isfunction(L, 3)), 3,
                "string or function expected");
  MatchState ms;
  InitMatch(&ms, L, src, srcl, p + anchor, lp - anchor);
  luaL_Buffer b;
  luaL_buffinit(L, &b);
  int n = 0;
  while (n < maxS) {
    const char* e = MatchAttempt(&ms, src, p + anchor);
    if (e != nullptr) {
      n++;
      AddReplacement(&ms, &b, src, e);
    }
    if (e != nullptr && e > src)
      src = e;
    else if (src < ms.srcEnd)
      luaL_putchar(&b, *src++);
    else
      break;
    if (anchor) break;
  }
  luaL_addlstring(&b, src, static_cast<size_t>(ms.srcEnd - src));
  luaL_pushresult(&b);
  lua_pushnumber(L, n);
  return 2;
}
