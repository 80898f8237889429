// The built-in window factories.
#include "tvlib/ui/TWindowFactories.h"

#include "tvlib/script/NumberConversion.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TTextEdit.h"
#include "tvlib/ui/TWindowStyle.h"

TWindow* TButtonFactory::Create(const TWindowStyle& style) {
  return new TButton(tvs::NumberToInt(style.GetNumber("type", 0)));
}

TWindow* TTextFactory::Create(const TWindowStyle& /*style*/) {
  return new TText(false);
}

TWindow* TTextEditFactory::Create(const TWindowStyle& /*style*/) {
  return new TTextEdit;
}
