// The operator base's identity and the readers of operator parameters.
#include "tvlib/media/TProcessValue.h"

#include <memory>

#include "tvlib/script/NumberConversion.h"
#include "tvlib/script/TLuaTable.h"

TProcessClassId TProcessValue::GetClassId() {
  static const char tag = 0;
  return &tag;
}

namespace ProcessArgs {

float Number(const TLuaTable& args, int k) {
  return static_cast<float>(args.GetNumberAt(k, 0.0));
}

int Integer(const TLuaTable& args, int k) {
  return tvs::NumberToInt(args.GetNumberAt(k, 0.0));
}

TVec3 Vector(const TLuaTable& args, int k) {
  std::unique_ptr<TLuaTable> v(args.GetTableAt(k));
  if (!v) return {};
  return {Number(*v, 1), Number(*v, 2), Number(*v, 3)};
}

TColor32 Colour(const TLuaTable& args, int k) {
  std::unique_ptr<TLuaTable> c(args.GetTableAt(k));
  if (!c) return {};
  return TColor32(Number(*c, 1), Number(*c, 2), Number(*c, 3), Number(*c, 4));
}

bool Has(const TLuaTable& args, int k) {
  lua_State* L = args.GetState();
  args.PushItem(k);
  const bool present = !lua_isnil(L, -1);
  lua_settop(L, -2);
  return present;
}

}  // namespace ProcessArgs
