// The window factories the window script registers with the window manager: "_button" makes
// a button of the table's "type" (0 when absent), "_text" a text window, "_textedit" a text
// edit.
#pragma once

#include "tvlib/ui/TWindowFactory.h"

class TButtonFactory : public TWindowFactory {
 public:
  TWindow* Create(const TWindowStyle& style) override;
};

class TTextFactory : public TWindowFactory {
 public:
  TWindow* Create(const TWindowStyle& style) override;
};

class TTextEditFactory : public TWindowFactory {
 public:
  TWindow* Create(const TWindowStyle& style) override;
};
