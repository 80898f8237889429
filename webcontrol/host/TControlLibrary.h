// A control library loaded by the page host: the shared library and the entries of its C
// interface (FestraVaskControl.h), looked up by name as a browser loads a registered control.
#pragma once

#include <string>

#include "webcontrol/FestraVaskControl.h"

class TControlLibrary {
 public:
  // Loads the library at `path`; Ok() tells whether it has every entry.
  explicit TControlLibrary(const std::string& path);
  // Unloads it, unless a control is still alive.
  ~TControlLibrary();
  TControlLibrary(const TControlLibrary&) = delete;
  TControlLibrary& operator=(const TControlLibrary&) = delete;

  bool Ok() const { return mOk; }
  // Why it is not Ok.
  const std::string& GetError() const { return mError; }

  decltype(&fv_control_create) create = nullptr;
  decltype(&fv_control_release) release = nullptr;
  decltype(&fv_control_load_params) loadParams = nullptr;
  decltype(&fv_control_set_script_handler) setScriptHandler = nullptr;
  decltype(&fv_control_create_window) createWindow = nullptr;
  decltype(&fv_control_fd) fd = nullptr;
  decltype(&fv_control_dispatch) dispatch = nullptr;
  decltype(&fv_method_dispid) methodDispid = nullptr;
  decltype(&fv_control_invoke) invoke = nullptr;
  decltype(&fv_control_state) state = nullptr;
  decltype(&fv_control_status_text) statusText = nullptr;
  decltype(&fv_register_server) registerServer = nullptr;
  decltype(&fv_unregister_server) unregisterServer = nullptr;
  decltype(&fv_can_unload_now) canUnloadNow = nullptr;

 private:
  template <typename F>
  void Find(F* entry, const char* name);

  void* mHandle = nullptr;
  bool mOk = false;
  std::string mError;
};
