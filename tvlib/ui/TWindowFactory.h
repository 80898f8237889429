// Makers of windows by type name. A window creator is a class's static Create, registered by
// name with the window script ("GameWindow{ ... }"); a window factory is an object registered
// with the window manager under a "factory" name ("_button", "_text", "_textedit") that reads
// its own keys from the script table describing the window.
#pragma once

class TWindow;
class TWindowStyle;

using TWindowCreator = TWindow* (*)();

class TWindowFactory {
 public:
  virtual ~TWindowFactory() = default;
  // A new window (owned by the caller) for the table the style reads.
  virtual TWindow* Create(const TWindowStyle& style) = 0;
};
