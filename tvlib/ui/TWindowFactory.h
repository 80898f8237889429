// A maker of windows of one kind, registered with the window manager under a type name; the
// window script asks it for the window a Lua table describes.
#pragma once

class TLuaTable;
class TWindow;

class TWindowFactory {
 public:
  virtual ~TWindowFactory() = default;
  // A new window (owned by the caller) for the table.
  virtual TWindow* Create(TLuaTable* table) = 0;
};
