// Fuzz target: the string library's little languages (patterns in find/gsub/gfind, format
// strings, pack/unpack formats, lualex escapes) over short subjects. Input: a selector
// byte, then the format or pattern and the subject separated by the first zero byte. Both are
// kept short: backtracking patterns are exponential in the subject's length by nature.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/ScriptFuzzRunner.h"
#include "tvlib/script/Libs.h"

namespace {

constexpr size_t kMaxPattern = 48;
constexpr size_t kMaxSubject = 64;

const char* const kCalls[] = {
    "return string.find(s, p)",
    "return string.gsub(s, p, '<%1>')",
    "return string.gsub(s, p, function(a, b) return b end)",
    "local n = 0 for a in string.gfind(s, p) do n = n + 1 if n > 100 then break end end",
    "return string.format(p, s, 1.5, -7, s)",
    "return string.unpack(s, p)",
    "return string.unpack(string.pack(p, s, 1, 2, 3, s), p)",
    "return string.lualex(p, 0), string.lualex(p, 1)",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const size_t cut = rest.find('\0');
  std::string p = rest.substr(0, cut);
  std::string s = cut == std::string::npos ? std::string() : rest.substr(cut + 1);
  if (p.size() > kMaxPattern) p.resize(kMaxPattern);
  if (s.size() > kMaxSubject) s.resize(kMaxSubject);
  TScriptLimits limits(tvfuzz::kFuzzScriptBudget);
  lua_State* L = limits.OpenState();
  if (L == nullptr) return 0;
  luaopen_all(L);
  lua_pushstring(L, "p");
  lua_pushlstring(L, p.data(), p.size());
  lua_settable(L, LUA_GLOBALSINDEX);
  lua_pushstring(L, "s");
  lua_pushlstring(L, s.data(), s.size());
  lua_settable(L, LUA_GLOBALSINDEX);
  const char* call = kCalls[data[0] % std::size(kCalls)];
  if (luaL_loadbuffer(L, call, std::char_traits<char>::length(call), "=fuzz") == 0)
    TScriptLimits::Call(L, 0, 0, 0);
  lua_close(L);
  return 0;
}
