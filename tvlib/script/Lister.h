// Instruction listings of compiled functions, for the compiler tool, tests and readers.
#pragma once

#include <string>

#include "tvlib/script/Object.h"

namespace tvs {

// Lists f's header, instructions and (with `nested') every nested function after it.
std::string ListFunction(const TProto* f, bool nested);

}  // namespace tvs
