// Reading the page's parameters.
#include "webcontrol/PageParams.h"

#include <strings.h>

#include "webcontrol/PageText.h"

void TPageParams::Load(const fv_param* params, size_t count) {
  for (size_t which = 0; which < kPageParamNames.size(); ++which) {
    for (size_t i = 0; i < count; ++i) {
      const fv_param& given = params[i];
      if (!given.name || strcasecmp(given.name, kPageParamNames[which]) != 0) continue;
      if (given.value) mTexts[which] = NarrowPageText(given.value, given.length);
      break;
    }
  }
}
