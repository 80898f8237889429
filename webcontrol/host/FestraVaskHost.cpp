// festravask-host: a web page stand-in that embeds the launcher control.
//
//   festravask-host [--param Name=Value]...   open the page with the control's parameters
//   festravask-host --register LIBRARY        register a control library for this user
//   festravask-host --unregister LIBRARY      remove its registration
//
// The page is an 800 x 600 window holding the control, which the host loads as a browser
// does: the library registered for the control's ProgID. Standard input takes one method a
// line ("GameStart", "GameContinue <xml>" ...; "quit" closes the page, as does the end of the
// input or the window's close button). Standard output shows what the page sees: each script
// the game runs on it, "script <text>" (a backslash, and control characters as \xNN, escaped),
// and the control's state whenever it changes, "state loading|running|failed|finished".
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "webcontrol/ControlRegistration.h"
#include "webcontrol/host/TControlLibrary.h"

// After the control's headers: Xlib's macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr int kPageWidth = 800;
constexpr int kPageHeight = 600;
// How often the host looks at the control's state when nothing arrives.
constexpr int kPollMs = 50;

struct TArguments {
  std::vector<std::pair<std::string, std::string>> params;
  std::string registerLibrary;
  std::string unregisterLibrary;
};

bool ParseArguments(int argc, char** argv, TArguments* arguments) {
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (i + 1 >= argc) return false;
    std::string value = argv[++i];
    if (option == "--param") {
      size_t equals = value.find('=');
      if (equals == std::string::npos || equals == 0) return false;
      arguments->params.emplace_back(value.substr(0, equals), value.substr(equals + 1));
    } else if (option == "--register") {
      arguments->registerLibrary = value;
    } else if (option == "--unregister") {
      arguments->unregisterLibrary = value;
    } else {
      return false;
    }
  }
  return true;
}

const char* StateName(fv_state state) {
  switch (state) {
    case FV_STATE_RUNNING:
      return "running";
    case FV_STATE_FAILED:
      return "failed";
    case FV_STATE_FINISHED:
      return "finished";
    case FV_STATE_LOADING:
      break;
  }
  return "loading";
}

void PrintScript(void* /*user*/, const char* script) {
  std::string line = "script ";
  for (const char* c = script; *c; ++c) {
    auto byte = static_cast<unsigned char>(*c);
    if (byte == '\\') {
      line += "\\\\";
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      line += escaped;
    } else {
      line += *c;
    }
  }
  std::printf("%s\n", line.c_str());
}

int Register(const std::string& path, bool add) {
  TControlLibrary library(path);
  if (!library.Ok()) {
    std::fprintf(stderr, "festravask-host: %s\n", library.GetError().c_str());
    return 1;
  }
  int result = add ? library.registerServer() : library.unregisterServer();
  return result == 0 ? 0 : 1;
}

// Standard input, split into lines as they arrive.
class TLineReader {
 public:
  // Reads what is there; false at the end of the input.
  bool Read() {
    char buffer[4096];
    ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) return false;
    mPending.append(buffer, static_cast<size_t>(got));
    return true;
  }
  // The next whole line; at the end of the input, also the last one without its line break.
  bool NextLine(std::string* line, bool atEnd) {
    size_t end = mPending.find('\n');
    if (end == std::string::npos && (!atEnd || mPending.empty())) return false;
    *line = mPending.substr(0, end);
    mPending.erase(0, end == std::string::npos ? end : end + 1);
    if (!line->empty() && line->back() == '\r') line->pop_back();
    return true;
  }

 private:
  std::string mPending;
};

// One method line: false for "quit".
bool RunMethodLine(TControlLibrary& library, fv_control* control, const std::string& line) {
  size_t blank = line.find(' ');
  std::string name = line.substr(0, blank);
  std::string argument = blank == std::string::npos ? "" : line.substr(blank + 1);
  if (name == "quit") return false;
  if (name.empty()) return true;
  int dispid = library.methodDispid(name.c_str());
  if (dispid < 0 || library.invoke(control, dispid, argument.c_str()) != 0)
    std::fprintf(stderr, "festravask-host: the control has no method %s\n", name.c_str());
  return true;
}

// Opens the page, runs it until it is closed, and tears the control down.
int RunPage(const TArguments& arguments) {
  std::string path = FindRegisteredLibrary(kControlVersionIndependentProgId);
  if (path.empty()) {
    std::fprintf(stderr, "festravask-host: no control is registered as %s\n",
                 kControlVersionIndependentProgId);
    return 1;
  }
  TControlLibrary library(path);
  if (!library.Ok()) {
    std::fprintf(stderr, "festravask-host: %s\n", library.GetError().c_str());
    return 1;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "festravask-host: cannot open the display\n");
    return 1;
  }
  Window page = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, kPageWidth,
                                    kPageHeight, 0, 0, WhitePixel(display, DefaultScreen(display)));
  XStoreName(display, page, "FestraVask page");
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, page, &deleteWindow, 1);
  XMapWindow(display, page);
  XSync(display, False);

  fv_control* control = library.create();
  std::vector<fv_param> params;
  for (const auto& [name, value] : arguments.params)
    params.push_back({name.c_str(), value.c_str(), value.size()});
  library.loadParams(control, params.data(), params.size());
  library.setScriptHandler(control, PrintScript, nullptr);
  if (!library.createWindow(control, DisplayString(display), page, 0, 0, kPageWidth, kPageHeight))
    std::fprintf(stderr, "festravask-host: the control made no window\n");

  TLineReader input;
  bool open = true;
  int lastState = -1;
  while (open) {
    library.dispatch(control);
    fv_state state = library.state(control);
    if (state != lastState) {
      std::printf("state %s\n", StateName(state));
      lastState = state;
    }
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow)
        open = false;
    }
    pollfd fds[3] = {{STDIN_FILENO, POLLIN, 0},
                     {ConnectionNumber(display), POLLIN, 0},
                     {library.fd(control), POLLIN, 0}};
    if (poll(fds, fds[2].fd < 0 ? 2 : 3, kPollMs) > 0 && fds[0].revents != 0) {
      bool more = input.Read();
      std::string line;
      while (open && input.NextLine(&line, !more)) open = RunMethodLine(library, control, line);
      open = open && more;
    }
  }
  library.release(control);
  XDestroyWindow(display, page);
  XCloseDisplay(display);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);  // a line at a time, for a page reading it as it comes
  TArguments arguments;
  if (!ParseArguments(argc, argv, &arguments)) {
    std::fprintf(stderr,
                 "usage: festravask-host [--param Name=Value]... | --register LIBRARY"
                 " | --unregister LIBRARY\n");
    return 2;
  }
  if (!arguments.registerLibrary.empty()) return Register(arguments.registerLibrary, true);
  if (!arguments.unregisterLibrary.empty()) return Register(arguments.unregisterLibrary, false);
  return RunPage(arguments);
}
