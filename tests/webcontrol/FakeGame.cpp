// The stand-in game of the control's tests. Started with "-wnd=<hex id>", it makes a window
// of its own inside that one (the control's window), so that host-protocol messages to its
// window reach it, and appends to the file $FAKE_GAME_LOG one line for each event:
//   "argv <arguments>", "cwd <working folder>", "ready", "message <number> <wParam> <lParam>",
//   "quit", "gone".
// On the command CustomReturn passes on (10) it sends $FAKE_GAME_SCRIPT back to the control's
// window as script chunks, through the engine's host channel as the game would. It ends on the
// quit message and when its window is destroyed; with $FAKE_GAME_STUBBORN set it stays on
// after both, and ignores SIGTERM too, as a game that hangs would.
#include <signal.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tvlib/platform/x11/HostMessage.h"

#include <X11/Xlib.h>

namespace {

FILE* gLog = nullptr;

void Log(const std::string& line) {
  if (!gLog) return;
  std::fprintf(gLog, "%s\n", line.c_str());
  std::fflush(gLog);
}

}  // namespace

int main(int argc, char** argv) {
  if (const char* path = std::getenv("FAKE_GAME_LOG")) gLog = std::fopen(path, "a");
  std::string arguments = "argv";
  Window host = None;
  for (int i = 1; i < argc; ++i) {
    arguments += std::string(" ") + argv[i];
    if (std::strncmp(argv[i], "-wnd=", 5) == 0) host = std::strtoul(argv[i] + 5, nullptr, 16);
  }
  Log(arguments);
  char folder[PATH_MAX];
  Log(std::string("cwd ") + (getcwd(folder, sizeof folder) ? folder : "?"));
  bool stubborn = std::getenv("FAKE_GAME_STUBBORN") != nullptr;
  if (stubborn) signal(SIGTERM, SIG_IGN);
  Display* display = XOpenDisplay(nullptr);
  if (!display || host == None) return 1;
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // the host may go first
  XWindowAttributes hostAttributes;
  if (!XGetWindowAttributes(display, host, &hostAttributes)) return 1;
  Window window = XCreateSimpleWindow(display, host, 0, 0, hostAttributes.width,
                                      hostAttributes.height, 0, 0, 0x808080);
  XSelectInput(display, window, StructureNotifyMask);
  XMapWindow(display, window);
  XSync(display, False);
  Log("ready");

  const char* script = std::getenv("FAKE_GAME_SCRIPT");
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == DestroyNotify && event.xdestroywindow.window == window) {
      Log("gone");
      if (stubborn) pause();
      break;
    }
    THostMessage message;
    if (!ReadHostMessage(display, event, &message)) continue;
    Log("message " + std::to_string(message.message) + " " + std::to_string(message.wParam) + " " +
        std::to_string(message.lParam));
    if (message.message == kHostQuit) {
      Log("quit");
      if (stubborn) pause();
      break;
    }
    if (message.message == kHostCommand && message.wParam == kPortalResume10 && script) {
      for (const THostMessage& chunk : EncodeScriptMessages(script))
        PostHostMessage(display, host, chunk);
    }
  }
  XCloseDisplay(display);
  return 0;
}
