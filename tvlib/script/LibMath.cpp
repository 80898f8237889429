// The math library, in radians. It also sets the global `__pow', which the power operator
// calls for operands that are not both numbers. `random' draws from the installed source.
#include <cmath>

#include "tvlib/script/AuxLib.h"
#include "tvlib/script/Libs.h"

namespace {

template <double (*F)(double)>
int Unary(lua_State* L) {
  lua_pushnumber(L, F(luaL_checknumber(L, 1)));
  return 1;
}

double Deg(double x) {
  return x * (180.0 / M_PI);
}
double Rad(double x) {
  return x * (M_PI / 180.0);
}
double Abs(double x) {
  return std::fabs(x);
}

int Atan2(lua_State* L) {
  lua_pushnumber(L, std::atan2(luaL_checknumber(L, 1), luaL_checknumber(L, 2)));
  return 1;
}

int Mod(lua_State* L) {
  lua_pushnumber(L, std::fmod(luaL_checknumber(L, 1), luaL_checknumber(L, 2)));
  return 1;
}

int Pow(lua_State* L) {
  lua_pushnumber(L, std::pow(luaL_checknumber(L, 1), luaL_checknumber(L, 2)));
  return 1;
}

int Frexp(lua_State* L) {
  int e;
  lua_pushnumber(L, std::frexp(luaL_checknumber(L, 1), &e));
  lua_pushnumber(L, e);
  return 2;
}

int Ldexp(lua_State* L) {
  lua_pushnumber(L, std::ldexp(luaL_checknumber(L, 1), luaL_checkint(L, 2)));
  return 1;
}

template <bool kMin>
int Extreme(lua_State* L) {
  const int n = lua_gettop(L);
  double best = luaL_checknumber(L, 1);
  for (int i = 2; i <= n; i++) {
    const double d = luaL_checknumber(L, i);
    if (kMin ? d < best : d > best) best = d;
  }
  lua_pushnumber(L, best);
  return 1;
}

const luaL_RandomSource* gRandom = nullptr;

int Random(lua_State* L) {
  if (gRandom == nullptr) return luaL_error(L, "no random source");
  // The modulo keeps the value below 1.
  const double r = static_cast<double>(gRandom->next() % gRandom->max) / gRandom->max;
  switch (lua_gettop(L)) {
    case 0:
      lua_pushnumber(L, r);
      break;
    case 1: {
      const int u = luaL_checkint(L, 1);
      luaL_argcheck(L, 1 <= u, 1, "interval is empty");
      lua_pushnumber(L, std::floor(r * u) + 1);
      break;
    }
    case 2: {
      const int l = luaL_checkint(L, 1);
      const int u = luaL_checkint(L, 2);
      luaL_argcheck(L, l <= u, 2, "interval is empty");
      lua_pushnumber(L, std::floor(r * (static_cast<double>(u) - l + 1)) + l);
      break;
    }
    default:
      return luaL_error(L, "wrong number of arguments");
  }
  return 1;
}

int RandomSeed(lua_State* L) {
  const unsigned seed = static_cast<unsigned>(luaL_checkint(L, 1));
  if (gRandom == nullptr) return luaL_error(L, "no random source");
  gRandom->seed(seed);
  return 0;
}

const luaL_reg kMathFunctions[] = {
    {"abs", Unary<Abs>},
    {"sin", Unary<std::sin>},
    {"cos", Unary<std::cos>},
    {"tan", Unary<std::tan>},
    {"asin", Unary<std::asin>},
    {"acos", Unary<std::acos>},
    {"atan", Unary<std::atan>},
    {"atan2", Atan2},
    {"ceil", Unary<std::ceil>},
    {"floor", Unary<std::floor>},
    {"mod", Mod},
    {"frexp", Frexp},
    {"ldexp", Ldexp},
    {"sqrt", Unary<std::sqrt>},
    {"min", Extreme<true>},
    {"max", Extreme<false>},
    {"log", Unary<std::log>},
    {"log10", Unary<std::log10>},
    {"exp", Unary<std::exp>},
    {"deg", Unary<Deg>},
    {"rad", Unary<Rad>},
    {"random", Random},
    {"randomseed", RandomSeed},
    {"pow", Pow},
    {nullptr, nullptr},
};

}  // namespace

void luaopen_math(lua_State* L) {
  luaL_openlib(L, "math", kMathFunctions, 0);
  lua_pushstring(L, "pi");
  lua_pushnumber(L, M_PI);
  lua_settable(L, -3);
  lua_pop(L, 1);
  lua_pushstring(L, "__pow");
  lua_pushcfunction(L, Pow);
  lua_settable(L, LUA_GLOBALSINDEX);
}

const luaL_RandomSource* luaL_setrandomsource(const luaL_RandomSource* source) {
  const luaL_RandomSource* old = gRandom;
  gRandom = source;
  return old;
}
