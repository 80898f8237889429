// Looking up the control's methods.
#include "webcontrol/ControlMethods.h"

#include <strings.h>

const TControlMethod* FindControlMethod(int dispid) {
  for (const TControlMethod& method : kControlMethods)
    if (method.dispid == dispid) return &method;
  return nullptr;
}

const TControlMethod* FindControlMethod(const char* name) {
  if (!name) return nullptr;
  for (const TControlMethod& method : kControlMethods)
    if (strcasecmp(method.name, name) == 0) return &method;
  return nullptr;
}
