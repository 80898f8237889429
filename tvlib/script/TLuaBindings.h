// Native functions as script globals. BindFunction exposes a free function; an object that
// exposes member functions owns a TLuaBindings and binds through it. Arguments convert by
// type without checks (int and unsigned toward zero from lua_tonumber, bool by truth, float
// and double from lua_tonumber, TString by LuaToString); results push one value, none for
// void. A raw function takes the state and returns its own result count (it may end with
// lua_yield).
//
// Each global is a native closure whose upvalue 1 is the binding record, a userdata that
// owns its fields. A member record shares a liveness flag with its TLuaBindings: when the
// owner goes, the flag clears, and a later call from a script logs and returns nothing
// instead of calling into a dead object.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <tuple>
#include <utility>

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

// Every record starts with its own destructor, which the records' shared __gc calls.
struct RecordHeader {
  void (*destroy)(void* record);
};

template <class Record>
Record* NewRecord(lua_State* L, Record&& value);

template <class R, class... A>
struct FreeRecord {
  RecordHeader header;
  R (*fn)(A...);
};

template <class C, class M>
struct MemberRecord {
  RecordHeader header;
  std::shared_ptr<bool> alive;
  C* object;
  M member;
};

// Pushes the shared metatable of records (its __gc runs the record's destructor).
void PushRecordMetatable(lua_State* L);
// Logs a call through a binding whose object is gone.
void LogDeadBinding(lua_State* L);

template <class Record>
Record* NewRecord(lua_State* L, Record&& value) {
  void* block = lua_newuserdata(L, sizeof(Record));
  Record* record = new (block) Record(std::move(value));
  record->header.destroy = [](void* p) { static_cast<Record*>(p)->~Record(); };
  PushRecordMetatable(L);
  lua_setmetatable(L, -2);
  return record;
}

template <class R, class... A>
int CallFree(lua_State* L) {
  auto* record = static_cast<FreeRecord<R, A...>*>(lua_touserdata(L, lua_upvalueindex(1)));
  return Invoke<R, A...>(L, record->fn, std::index_sequence_for<A...>{});
}

inline int CallFreeRaw(lua_State* L) {
  auto* record = static_cast<FreeRecord<int, lua_State*>*>(lua_touserdata(L, lua_upvalueindex(1)));
  return record->fn(L);
}

template <class C, class R, class... A>
int CallMember(lua_State* L) {
  using Member = R (C::*)(A...);
  auto* record = static_cast<MemberRecord<C, Member>*>(lua_touserdata(L, lua_upvalueindex(1)));
  if (!*record->alive) {
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
  auto* record = static_cast<MemberRecord<C, Member>*>(lua_touserdata(L, lua_upvalueindex(1)));
  if (!*record->alive) {
    LogDeadBinding(L);
    return 0;
  }
  return (record->object->*record->member)(L);
}

// Sets the global `name' to the closure of the record on the stack top (popped).
void SetGlobalClosure(lua_State* L, const char* name, lua_CFunction adapter);

}  // namespace tvs::binding

// A free function as the global `name' (a later binding under the name replaces it).
template <class R, class... A>
void BindFunction(lua_State* L, const char* name, R (*fn)(A...)) {
  using namespace tvs::binding;
  NewRecord(L, FreeRecord<R, A...>{{nullptr}, fn});
  SetGlobalClosure(L, name, CallFree<R, A...>);
}
// A raw free function: it takes the state and returns its result count.
inline void BindFunction(lua_State* L, const char* name, int (*fn)(lua_State*)) {
  using namespace tvs::binding;
  NewRecord(L, FreeRecord<int, lua_State*>{{nullptr}, fn});
  SetGlobalClosure(L, name, CallFreeRaw);
}

// The member-function bindings of one object; declare it as a member of that object, so
// that its bindings fall silent when the object goes.
class TLuaBindings {
 public:
  TLuaBindings() : mAlive(std::make_shared<bool>(true)) {}
  ~TLuaBindings() { *mAlive = false; }
  TLuaBindings(const TLuaBindings&) = delete;
  TLuaBindings& operator=(const TLuaBindings&) = delete;

  template <class C, class R, class... A>
  void Bind(lua_State* L, const char* name, C* object, R (C::*member)(A...)) {
    using namespace tvs::binding;
    NewRecord(L, MemberRecord<C, R (C::*)(A...)>{{nullptr}, mAlive, object, member});
    SetGlobalClosure(L, name, CallMember<C, R, A...>);
  }
  // A raw member: it takes the state and returns its result count.
  template <class C>
  void Bind(lua_State* L, const char* name, C* object, int (C::*member)(lua_State*)) {
    using namespace tvs::binding;
    NewRecord(L, MemberRecord<C, int (C::*)(lua_State*)>{{nullptr}, mAlive, object, member});
    SetGlobalClosure(L, name, CallMemberRaw<C>);
  }

 private:
  std::shared_ptr<bool> mAlive;
};
