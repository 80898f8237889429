// Native functions as script globals. BindFunction exposes a free function; an object that
// exposes member functions owns a TLuaBindings and binds through it. Arguments convert by
// type without checks (int and unsigned toward zero from lua_tonumber, bool by truth, float
// and double from lua_tonumber, TString by LuaToString); results push one value, none for
// void. A raw function takes the state and returns its own result count (it may end with
// lua_yield).
//
// Each global is a native closure whose upvalue 1 is the binding record, a userdata that
// owns its fields, and whose upvalue 2 is the value the global held before. A member record
// shares a liveness flag with its TLuaBindings: when the owner goes, the flag clears, the
// globals still holding its closures get their earlier values back, and a call through a
// closure a script kept logs and returns nothing instead of calling into a dead object.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tvlib/core/TString.h"
#include "tvlib/script/Limits.h"
#include "tvlib/script/TLuaObjectWrapper.h"

namespace tvs::binding {

template <class T>
T Arg(lua_State* L, int i);
template <>
inline int Arg<int>(lua_State* L, int i) {
  return NumberToInt(lua_tonumber(L, i));
}
template <>
inline unsigned Arg<unsigned>(lua_State* L, int i) {
  return static_cast<unsigned>(NumberToInt64(lua_tonumber(L, i)));
}
template <>
inline bool Arg<bool>(lua_State* L, int i) {
  return lua_toboolean(L, i) != 0;
}
template <>
inline float Arg<float>(lua_State* L, int i) {
  return static_cast<float>(lua_tonumber(L, i));
}
template <>
inline double Arg<double>(lua_State* L, int i) {
  return lua_tonumber(L, i);
}
template <>
inline TString Arg<TString>(lua_State* L, int i) {
  return LuaToString(L, i);
}

inline void PushResult(lua_State* L, int v) {
  lua_pushnumber(L, v);
}
inline void PushResult(lua_State* L, unsigned v) {
  lua_pushnumber(L, v);
}
inline void PushResult(lua_State* L, bool v) {
  lua_pushboolean(L, v);
}
inline void PushResult(lua_State* L, float v) {
  lua_pushnumber(L, v);
}
inline void PushResult(lua_State* L, double v) {
  lua_pushnumber(L, v);
}
inline void PushResult(lua_State* L, const TString& v) {
  PushLuaString(L, v);
}

// Calls f with the script arguments converted, left to right, and pushes its result.
template <class R, class... A, class F, size_t... I>
int Invoke(lua_State* L, F&& f, std::index_sequence<I...>) {
  std::tuple<std::decay_t<A>...> args{Arg<std::decay_t<A>>(L, static_cast<int>(I) + 1)...};
  if constexpr (std::is_void_v<R>) {
    std::apply(f, std::move(args));
    return 0;
  } else {
    PushResult(L, std::apply(f, std::move(args)));
    return 1;
  }
}

// The native side of one bound global, owned by a userdata (its __gc deletes it).
struct Record {
  virtual ~Record() = default;
  // The owner's liveness; null for a free function, which is always live.
  std::shared_ptr<const bool> alive;
  bool IsLive() const { return !alive || *alive; }
};

template <class R, class... A>
struct FreeRecord : Record {
  explicit FreeRecord(R (*f)(A...)) : fn(f) {}
  R (*fn)(A...);
};

template <class C, class M>
struct MemberRecord : Record {
  MemberRecord(std::shared_ptr<const bool> owner, C* o, M m) : object(o), member(m) {
    alive = std::move(owner);
  }
  C* object;
  M member;
};

// Pushes a userdata owning the record.
void PushRecord(lua_State* L, Record* record);
// The record of the running binding closure.
template <class Record>
Record* CurrentRecord(lua_State* L) {
  return static_cast<Record*>(
      *static_cast<tvs::binding::Record**>(lua_touserdata(L, lua_upvalueindex(1))));
}
// Logs a call through a binding whose object is gone.
void LogDeadBinding(lua_State* L);

template <class R, class... A>
int CallFree(lua_State* L) {
  auto* record = CurrentRecord<FreeRecord<R, A...>>(L);
  return Invoke<R, A...>(L, record->fn, std::index_sequence_for<A...>{});
}

inline int CallFreeRaw(lua_State* L) {
  return CurrentRecord<FreeRecord<int, lua_State*>>(L)->fn(L);
}

template <class C, class R, class... A>
int CallMember(lua_State* L) {
  using Member = R (C::*)(A...);
  auto* record = CurrentRecord<MemberRecord<C, Member>>(L);
  if (!record->IsLive()) {
    LogDeadBinding(L);
    return 0;
  }
  C* object = record->object;
  const Member member = record->member;
  return Invoke<R, A...>(
      L,
      [object, member](auto&&... a) { return (object->*member)(std::forward<decltype(a)>(a)...); },
      std::index_sequence_for<A...>{});
}

template <class C>
int CallMemberRaw(lua_State* L) {
  using Member = int (C::*)(lua_State*);
  auto* record = CurrentRecord<MemberRecord<C, Member>>(L);
  if (!record->IsLive()) {
    LogDeadBinding(L);
    return 0;
  }
  return (record->object->*record->member)(L);
}

// Sets the global `name' to a closure of `adapter' over the record on the stack top (popped)
// and over the value the global held before (the first live one, past closures of owners
// that are gone), which the owner's going restores.
void SetGlobalClosure(lua_State* L, const char* name, lua_CFunction adapter);

// The class a member function pointer belongs to.
template <class M>
struct MemberClass;
template <class C, class R, class... A>
struct MemberClass<R (C::*)(A...)> {
  using type = C;
};

}  // namespace tvs::binding

// A free function as the global `name' (a later binding under the name replaces it).
template <class R, class... A>
void BindFunction(lua_State* L, const char* name, R (*fn)(A...)) {
  using namespace tvs::binding;
  PushRecord(L, new FreeRecord<R, A...>(fn));
  SetGlobalClosure(L, name, CallFree<R, A...>);
}
// A raw free function: it takes the state and returns its result count.
inline void BindFunction(lua_State* L, const char* name, int (*fn)(lua_State*)) {
  using namespace tvs::binding;
  PushRecord(L, new FreeRecord<int, lua_State*>(fn));
  SetGlobalClosure(L, name, CallFreeRaw);
}

class TLuaBindings;

// Rows of registration tables, in the manner of luaL_Reg: a bind file closes with one table of
// { "GlobalName", BindFree<&Function> } or { "GlobalName", BindMember<&Class::Member> } rows.
struct TLuaFunctionReg {
  const char* name;
  void (*bind)(lua_State* L, const char* name);
};
template <class C>
struct TLuaMemberReg {
  const char* name;
  void (*bind)(TLuaBindings& bindings, lua_State* L, const char* name, C* object);
};

template <auto F>
void BindFree(lua_State* L, const char* name) {
  BindFunction(L, name, F);
}
template <size_t N>
void BindFunctions(lua_State* L, const TLuaFunctionReg (&table)[N]) {
  for (const TLuaFunctionReg& row : table) row.bind(L, row.name);
}

// The member-function bindings of one object; declare it as a member of that object. When it
// goes, its bindings fall silent, and each global it set that still holds its closure is set
// back to what it held before (the first value there whose owner is still alive). A global
// that someone else has set meanwhile is left alone. Binds in any number of states; a state
// closed first is skipped.
class TLuaBindings {
 public:
  TLuaBindings() : mAlive(std::make_shared<bool>(true)) {}
  ~TLuaBindings();
  TLuaBindings(const TLuaBindings&) = delete;
  TLuaBindings& operator=(const TLuaBindings&) = delete;

  template <class C, class R, class... A>
  void Bind(lua_State* L, const char* name, C* object, R (C::*member)(A...)) {
    using namespace tvs::binding;
    PushRecord(L, new MemberRecord<C, R (C::*)(A...)>(mAlive, object, member));
    SetGlobalClosure(L, name, CallMember<C, R, A...>);
    Remember(L, name);
  }
  // A raw member: it takes the state and returns its result count.
  template <class C>
  void Bind(lua_State* L, const char* name, C* object, int (C::*member)(lua_State*)) {
    using namespace tvs::binding;
    PushRecord(L, new MemberRecord<C, int (C::*)(lua_State*)>(mAlive, object, member));
    SetGlobalClosure(L, name, CallMemberRaw<C>);
    Remember(L, name);
  }
  // Binds every row of a registration table.
  template <class C, size_t N>
  void Bind(lua_State* L, C* object, const TLuaMemberReg<C> (&table)[N]) {
    for (const TLuaMemberReg<C>& row : table) row.bind(*this, L, row.name, object);
  }

 private:
  struct Global {
    lua_State* state;                       // the state's main thread
    std::shared_ptr<const bool> stateOpen;  // cleared when the state closes
    std::string name;
  };
  void Remember(lua_State* L, const char* name);

  std::shared_ptr<bool> mAlive;
  std::vector<Global> mGlobals;
};

// A row's binder: the member of Member's own class (a base of C's, perhaps).
template <auto Member, class C>
void BindMember(TLuaBindings& bindings, lua_State* L, const char* name, C* object) {
  using Owner = typename tvs::binding::MemberClass<decltype(Member)>::type;
  bindings.Bind(L, name, static_cast<Owner*>(object), Member);
}
