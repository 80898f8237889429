// The one conversion of a script number to an integer, shared by the runtime, its libraries
// and the engine's bindings: toward zero; NaN, infinities and values outside the 64-bit range
// give -2^63 (what the hardware conversion yields, without the undefined behaviour of a C++
// cast).
#pragma once

#include <cstdint>

namespace tvs {

inline int64_t NumberToInt64(double d) {
  if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0)) return INT64_MIN;
  return static_cast<int64_t>(d);
}
// The same, clamped to int (arguments that are counts, positions and sizes).
inline int NumberToInt(double d) {
  const int64_t v = NumberToInt64(d);
  return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : static_cast<int>(v);
}

}  // namespace tvs
