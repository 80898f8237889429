// Loading a control library and finding its entries.
#include "webcontrol/host/TControlLibrary.h"

#include <dlfcn.h>

TControlLibrary::TControlLibrary(const std::string& path) {
  mHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!mHandle) {
    const char* error = dlerror();
    mError = error ? error : "cannot load " + path;
    return;
  }
  mOk = true;
  Find(&create, "fv_control_create");
  Find(&release, "fv_control_release");
  Find(&loadParams, "fv_control_load_params");
  Find(&setScriptHandler, "fv_control_set_script_handler");
  Find(&createWindow, "fv_control_create_window");
  Find(&fd, "fv_control_fd");
  Find(&dispatch, "fv_control_dispatch");
  Find(&methodDispid, "fv_method_dispid");
  Find(&invoke, "fv_control_invoke");
  Find(&state, "fv_control_state");
  Find(&statusText, "fv_control_status_text");
  Find(&registerServer, "fv_register_server");
  Find(&unregisterServer, "fv_unregister_server");
  Find(&canUnloadNow, "fv_can_unload_now");
}

TControlLibrary::~TControlLibrary() {
  if (mHandle && (!canUnloadNow || canUnloadNow() == 0)) dlclose(mHandle);
}

template <typename F>
void TControlLibrary::Find(F* entry, const char* name) {
  *entry = reinterpret_cast<F>(dlsym(mHandle, name));
  if (*entry) return;
  mOk = false;
  mError = std::string("the library has no entry ") + name;
}
