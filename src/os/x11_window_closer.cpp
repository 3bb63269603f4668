#include "os/x11_window_closer.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace rirerazo::os {

namespace {

Atom AtomOf(Display* display, const char* name) {
  return XInternAtom(display, name, False);
}

// Reads a whole property of `type` (AnyPropertyType allowed) as raw items.
std::optional<std::vector<unsigned char>> ReadProperty(Display* display, Window window,
                                                       Atom property, Atom type, int& format,
                                                       unsigned long& count,
                                                       Atom* actual = nullptr) {
  Atom actual_type = None;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, property, 0, 1 << 20, False, type, &actual_type, &format,
                         &count, &after, &data) != Success ||
      actual_type == None) {
    if (data != nullptr) XFree(data);
    return std::nullopt;
  }
  const std::size_t bytes = count * (format == 32 ? sizeof(long) : format / 8);
  std::vector<unsigned char> items(data, data + bytes);
  XFree(data);
  if (actual != nullptr) *actual = actual_type;
  return items;
}

// A property holding 32-bit items (windows or atoms), which Xlib hands back as longs.
std::vector<Window> LongList(Display* display, Window window, Atom property, Atom type) {
  int format = 0;
  unsigned long count = 0;
  auto items = ReadProperty(display, window, property, type, format, count);
  std::vector<Window> list;
  if (!items || format != 32) return list;
  const auto* ids = reinterpret_cast<const long*>(items->data());
  for (unsigned long i = 0; i < count; ++i) list.push_back(static_cast<Window>(ids[i]));
  return list;
}

std::vector<Window> WindowList(Display* display, Window window, Atom property) {
  return LongList(display, window, property, XA_WINDOW);
}

std::string Latin1ToUtf8(const std::vector<unsigned char>& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::optional<std::string> Title(Display* display, Window window) {
  int format = 0;
  unsigned long count = 0;
  if (auto name = ReadProperty(display, window, AtomOf(display, "_NET_WM_NAME"),
                               AtomOf(display, "UTF8_STRING"), format, count)) {
    return std::string(name->begin(), name->end());
  }
  Atom type = None;
  auto name = ReadProperty(display, window, XA_WM_NAME, AnyPropertyType, format, count, &type);
  if (!name || format != 8) return std::nullopt;
  if (type == XA_STRING) return Latin1ToUtf8(*name);
  return std::string(name->begin(), name->end());
}

bool HasState(Display* display, Window window) {
  int format = 0;
  unsigned long count = 0;
  const Atom wm_state = AtomOf(display, "WM_STATE");
  return ReadProperty(display, window, wm_state, wm_state, format, count).has_value();
}

// Top-level windows from the top of the stack down. Without a window manager's client
// list, the root's children are taken, and a child without a title stands for the first
// managed window inside it (a window manager's frame).
std::vector<Window> TopLevelWindows(Display* display) {
  const Window root = DefaultRootWindow(display);
  std::vector<Window> stack =
      WindowList(display, root, AtomOf(display, "_NET_CLIENT_LIST_STACKING"));
  if (stack.empty()) {
    Window root_back = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &root_back, &parent, &children, &count) != 0) {
      stack.assign(children, children + count);
      if (children != nullptr) XFree(children);
    }
  }
  std::reverse(stack.begin(), stack.end());
  return stack;
}

std::optional<Window> ClientInside(Display* display, Window frame) {
  Window root_back = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display, frame, &root_back, &parent, &children, &count) == 0) return std::nullopt;
  std::optional<Window> client;
  for (unsigned int i = count; i-- > 0 && !client;) {
    if (HasState(display, children[i])) client = children[i];
  }
  if (children != nullptr) XFree(children);
  return client;
}

std::optional<Window> FindByTitle(Display* display, const std::string& title) {
  for (Window window : TopLevelWindows(display)) {
    std::optional<std::string> name = Title(display, window);
    if (!name) {
      if (auto client = ClientInside(display, window)) {
        window = *client;
        name = Title(display, window);
      }
    }
    if (name && *name == title) return window;
  }
  return std::nullopt;
}

bool ListHas(const std::vector<Window>& atoms, Atom atom) {
  return std::find(atoms.begin(), atoms.end(), static_cast<Window>(atom)) != atoms.end();
}

std::vector<Window> AtomList(Display* display, Window window, Atom property) {
  return LongList(display, window, property, XA_ATOM);
}

void SendClientMessage(Display* display, Window to, Window about, Atom type, long data0, long data1,
                       long event_mask) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = about;
  event.xclient.message_type = type;
  event.xclient.format = 32;
  event.xclient.data.l[0] = data0;
  event.xclient.data.l[1] = data1;
  XSendEvent(display, to, False, event_mask, &event);
}

}  // namespace

bool CloseX11WindowByTitle(X11Connection& connection, const std::string& title) {
  Display* display = connection.display();
  const std::optional<Window> window = FindByTitle(display, title);
  if (!window) return false;
  const Window root = DefaultRootWindow(display);
  const Atom net_close = AtomOf(display, "_NET_CLOSE_WINDOW");
  const Atom delete_window = AtomOf(display, "WM_DELETE_WINDOW");
  if (ListHas(AtomList(display, root, AtomOf(display, "_NET_SUPPORTED")), net_close)) {
    // Second item: the request comes from a tool acting for the user, not the window.
    SendClientMessage(display, root, *window, net_close, CurrentTime, 2,
                      SubstructureRedirectMask | SubstructureNotifyMask);
  } else if (ListHas(AtomList(display, *window, AtomOf(display, "WM_PROTOCOLS")), delete_window)) {
    SendClientMessage(display, *window, *window, AtomOf(display, "WM_PROTOCOLS"),
                      static_cast<long>(delete_window), CurrentTime, NoEventMask);
  }
  connection.Sync();
  return true;
}

}  // namespace rirerazo::os
