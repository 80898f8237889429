/* The web launcher control's C interface: what a page host (festravask-host, or a browser
 * bridge) calls in the shared library "FestraVask.<version>.so".
 *
 * The control carries the game, starts it as a child of the control's X window once that
 * window exists, passes the page's commands on to it and hands the scripts the game sends
 * back to the page's script handler. A host finds the library through the registration
 * file that fv_register_server writes (see webcontrol/ControlRegistration.h).
 *
 * Threads: every call, and every call back, happens on the host's thread (the page's). The
 * control's own launcher thread never calls the host.
 * Results: 0 is success (S_OK); negative values are failures. */
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define FV_EXPORT __attribute__((visibility("default")))

typedef struct fv_control fv_control;

/* One page parameter as the page gives it: a name and UTF-8 text. A null value is a
 * parameter that could not be read: it leaves the stored value as it was. */
typedef struct fv_param {
  const char* name;
  const char* value;
  size_t length;
} fv_param;

/* Receives one script for the page, a NUL-terminated text. */
typedef void (*fv_script_handler)(void* user, const char* script);

/* Where the control stands, following its launcher. */
typedef enum fv_state {
  FV_STATE_LOADING = 0,  /* the game has not been started yet */
  FV_STATE_RUNNING = 1,  /* the game process was started and the launcher still runs */
  FV_STATE_FAILED = 2,   /* the launcher ended without starting the game */
  FV_STATE_FINISHED = 3, /* the game ran and the launcher has ended */
} fv_state;

/* The result of a call to a method the control does not have (DISP_E_MEMBERNOTFOUND). */
#define FV_E_MEMBERNOTFOUND (-3)
/* The result of a failed registration (SELFREG_E_CLASS). */
#define FV_E_REGISTRATION (-4)

/* A new control (the class factory); null when it cannot be made. */
FV_EXPORT fv_control* fv_control_create(void);
/* Tears the game down (asks it to quit, waits for the launcher, which ends a game that has
 * not quit within about 5 s and removes its folder), destroys the control's window and frees
 * the control. Returns at once for a control whose window never existed. */
FV_EXPORT void fv_control_release(fv_control* control);

/* The page's parameters (DownloadUrl, Options, AnonymousScores, HideLogos, MSN, GameData),
 * read before the window is created. Names match without regard to case; each of the six
 * takes the first entry that names it; absent ones keep their values. */
FV_EXPORT int fv_control_load_params(fv_control* control, const fv_param* params, size_t count);
/* The page: where scripts from the game go. Without a handler they are dropped. */
FV_EXPORT void fv_control_set_script_handler(fv_control* control, fv_script_handler handler,
                                             void* user);

/* Creates the control's window as a child of `parent` on the X display `display_name` (null:
 * $DISPLAY), over its own connection, and starts the launcher on the first creation. Returns
 * the window's id, 0 on failure or while the control still has a window. */
FV_EXPORT unsigned long fv_control_create_window(fv_control* control, const char* display_name,
                                                 unsigned long parent, int x, int y, int width,
                                                 int height);
/* The file descriptor of the control's X connection (-1 without a window), for the host's
 * poll, and the call that handles what arrived on it: drawing, and the game's scripts, which
 * reach the script handler from inside this call. */
FV_EXPORT int fv_control_fd(const fv_control* control);
FV_EXPORT void fv_control_dispatch(fv_control* control);

/* The dispatch interface: the id of a method by its name (GetIDsOfNames; -1 when there is
 * none), and a call by id. `argument` is the text GameContinue and CustomReturn take (not
 * used). Every method answers 0, also while no game window exists. */
FV_EXPORT int fv_method_dispid(const char* name);
FV_EXPORT int fv_control_invoke(fv_control* control, int dispid, const char* argument);

FV_EXPORT fv_state fv_control_state(const fv_control* control);
/* The line of text the control's window shows. */
FV_EXPORT const char* fv_control_status_text(const fv_control* control);

/* Registration of the library for the current user (DllRegisterServer and
 * DllUnregisterServer), and whether it may be unloaded: 0 when no control is alive, else 1. */
FV_EXPORT int fv_register_server(void);
FV_EXPORT int fv_unregister_server(void);
FV_EXPORT int fv_can_unload_now(void);

#ifdef __cplusplus
}
#endif
