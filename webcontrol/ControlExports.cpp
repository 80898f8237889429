// The shared library's C interface over the control class (FestraVaskControl.h).
#include <dlfcn.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <new>

#include "webcontrol/CTarvolenFestraVaskControl.h"
#include "webcontrol/ControlLog.h"
#include "webcontrol/ControlMethods.h"
#include "webcontrol/ControlRegistration.h"
#include "webcontrol/FestraVaskControl.h"

struct fv_control {
  CTarvolenFestraVaskControl control;
};

namespace {

std::atomic<int> gLiveControls{0};

// The full path of this library, from the address of one of its functions.
std::string OwnLibraryPath() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&fv_register_server), &info) || !info.dli_fname) return {};
  char resolved[PATH_MAX];
  return realpath(info.dli_fname, resolved) ? resolved : info.dli_fname;
}

}  // namespace

extern "C" {

fv_control* fv_control_create(void) {
  auto* made = new (std::nothrow) fv_control{CTarvolenFestraVaskControl(CreateLauncher())};
  if (made) ++gLiveControls;
  return made;
}

void fv_control_release(fv_control* control) {
  if (!control) return;
  delete control;
  --gLiveControls;
}

int fv_control_load_params(fv_control* control, const fv_param* params, size_t count) {
  if (control && (params || count == 0)) control->control.Load(params, count);
  return 0;
}

void fv_control_set_script_handler(fv_control* control, fv_script_handler handler, void* user) {
  if (!control) return;
  if (!handler) {
    control->control.SetScriptHandler(nullptr);
    return;
  }
  control->control.SetScriptHandler(
      [handler, user](const std::string& script) { handler(user, script.c_str()); });
}

unsigned long fv_control_create_window(fv_control* control, const char* display_name,
                                       unsigned long parent, int x, int y, int width, int height) {
  return control ? control->control.CreateControlWindow(display_name, parent, x, y, width, height)
                 : 0;
}

int fv_control_fd(const fv_control* control) {
  return control ? control->control.GetConnectionNumber() : -1;
}

void fv_control_dispatch(fv_control* control) {
  if (control) control->control.DispatchEvents();
}

int fv_method_dispid(const char* name) {
  const TControlMethod* method = FindControlMethod(name);
  return method ? method->dispid : -1;
}

int fv_control_invoke(fv_control* control, int dispid, const char* /*argument*/) {
  if (!control) return FV_E_MEMBERNOTFOUND;
  return control->control.Invoke(dispid) ? 0 : FV_E_MEMBERNOTFOUND;
}

fv_state fv_control_state(const fv_control* control) {
  return control ? control->control.GetState() : FV_STATE_LOADING;
}

const char* fv_control_status_text(const fv_control* control) {
  return control ? control->control.GetStatusText() : "";
}

int fv_register_server(void) {
  std::string path = OwnLibraryPath();
  if (path.empty() || !RegisterControl(path)) {
    ControlLog("fv_register_server: the control could not be registered");
    return FV_E_REGISTRATION;
  }
  return 0;
}

int fv_unregister_server(void) {
  return UnregisterControl() ? 0 : FV_E_REGISTRATION;
}

int fv_can_unload_now(void) {
  return gLiveControls.load() == 0 ? 0 : 1;
}

}  // extern "C"
