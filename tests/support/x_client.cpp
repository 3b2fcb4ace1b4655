#include "tests/support/x_client.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>

#include <bit>
#include <chrono>
#include <thread>

namespace kv::xtest {
namespace {

// Windows come and go while the tests look at them; a vanished one is no failure.
int ignore_errors(Display*, XErrorEvent*) { return 0; }

int channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const unsigned long value = (pixel & mask) >> shift;
  return bits >= 8 ? static_cast<int>(value >> (bits - 8))
                   : static_cast<int>(value << (8 - bits));
}

}  // namespace

XClient::XClient(const char* display_name) {
  display_ = XOpenDisplay(display_name);
  if (display_) XSetErrorHandler(ignore_errors);
}

XClient::~XClient() {
  if (display_) XCloseDisplay(display_);
}

// The root window's geometry follows mode switches; DisplayWidth() keeps the
// size the connection started with.
Rect XClient::screen() const {
  Window root = None;
  int x = 0, y = 0;
  unsigned int width = 0, height = 0, border = 0, depth = 0;
  XGetGeometry(display_, DefaultRootWindow(display_), &root, &x, &y, &width, &height, &border,
               &depth);
  return {0, 0, static_cast<int>(width), static_cast<int>(height)};
}

std::string XClient::name_of(Window window) {
  const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
  const Atom net_name = XInternAtom(display_, "_NET_WM_NAME", False);
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  std::string name;
  if (XGetWindowProperty(display_, window, net_name, 0, 1024, False, utf8, &type, &format, &items,
                         &after, &data) == Success &&
      data) {
    name.assign(reinterpret_cast<char*>(data), items);
    XFree(data);
    return name;
  }
  char* plain = nullptr;
  if (XFetchName(display_, window, &plain) && plain) {
    name = plain;
    XFree(plain);
  }
  return name;
}

void XClient::collect(Window parent, const std::string* name, std::vector<Window>& found) {
  Window root = None, up = None, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display_, parent, &root, &up, &children, &count)) return;
  for (unsigned int i = 0; i < count; ++i) {
    const Window child = children[i];
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, child, &attributes) && attributes.map_state == IsViewable) {
      const std::string child_name = name_of(child);
      if (name ? child_name == *name : !child_name.empty()) found.push_back(child);
    }
    collect(child, name, found);
  }
  if (children) XFree(children);
}

std::vector<Window> XClient::windows_named(const std::string& name) {
  std::vector<Window> found;
  collect(DefaultRootWindow(display_), &name, found);
  return found;
}

std::vector<Window> XClient::named_windows() {
  std::vector<Window> found;
  collect(DefaultRootWindow(display_), nullptr, found);
  return found;
}

std::optional<Window> XClient::find_window(const std::string& name, double timeout_seconds,
                                           double settle_seconds) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::duration<double>(timeout_seconds);
  std::optional<Window> seen;
  auto seen_since = Clock::now();
  while (Clock::now() < deadline) {
    const auto found = windows_named(name);
    const std::optional<Window> now =
        found.empty() ? std::nullopt : std::optional<Window>(found.front());
    if (now != seen) {
      seen = now;
      seen_since = Clock::now();
    } else if (seen && Clock::now() - seen_since >= std::chrono::duration<double>(settle_seconds)) {
      return seen;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return std::nullopt;
}

Rect XClient::client_geometry(Window window) {
  XWindowAttributes attributes{};
  XGetWindowAttributes(display_, window, &attributes);
  int x = 0, y = 0;
  Window child = None;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
  return {x, y, attributes.width, attributes.height};
}

Rect XClient::frame_geometry(Window window) {
  const Window root_window = DefaultRootWindow(display_);
  Window frame = window;
  for (;;) {
    Window root = None, up = None, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, frame, &root, &up, &children, &count)) break;
    if (children) XFree(children);
    if (up == root_window || up == None) break;
    frame = up;
  }
  Window root = None;
  int x = 0, y = 0;
  unsigned int width = 0, height = 0, border = 0, depth = 0;
  XGetGeometry(display_, frame, &root, &x, &y, &width, &height, &border, &depth);
  return {x, y, static_cast<int>(width + 2 * border), static_cast<int>(height + 2 * border)};
}

std::vector<std::uint32_t> XClient::read_pixels(Window window, const Rect& area) {
  const Window source = window == None ? DefaultRootWindow(display_) : window;
  XImage* image = XGetImage(display_, source, area.x, area.y, area.width, area.height, AllPlanes,
                            ZPixmap);
  if (!image) return {};
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(area.width) * area.height);
  for (int y = 0; y < area.height; ++y)
    for (int x = 0; x < area.width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      pixels.push_back(static_cast<std::uint32_t>(channel(pixel, image->red_mask) << 16 |
                                                  channel(pixel, image->green_mask) << 8 |
                                                  channel(pixel, image->blue_mask)));
    }
  XDestroyImage(image);
  return pixels;
}

bool XClient::pointer_shown() {
  XFixesCursorImage* image = XFixesGetCursorImage(display_);
  if (!image) return false;
  bool shown = false;
  for (int i = 0; i < image->width * image->height && !shown; ++i)
    shown = (image->pixels[i] >> 24) != 0;
  XFree(image);
  return shown;
}

void XClient::minimise(Window window) {
  XIconifyWindow(display_, window, DefaultScreen(display_));
  sync();
}

void XClient::focus(Window window) {
  // Source 2, a pager: the window manager honours it at once.
  send_client_message(DefaultRootWindow(display_), window, "_NET_ACTIVE_WINDOW", 2,
                      SubstructureRedirectMask | SubstructureNotifyMask);
  XRaiseWindow(display_, window);
  XSetInputFocus(display_, window, RevertToParent, CurrentTime);
  sync();
}

void XClient::move_pointer(int root_x, int root_y) {
  XTestFakeMotionEvent(display_, -1, root_x, root_y, CurrentTime);
  sync();
}

std::array<int, 2> XClient::pointer_position() {
  Window root = None, child = None;
  int x = 0, y = 0, window_x = 0, window_y = 0;
  unsigned int buttons = 0;
  XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &x, &y, &window_x, &window_y,
                &buttons);
  return {x, y};
}

void XClient::key(const char* keysym_name, bool down) {
  const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysym_name));
  XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
  sync();
}

void XClient::tap(const char* keysym_name) {
  key(keysym_name, true);
  key(keysym_name, false);
}

void XClient::request_close(Window window) {
  send_client_message(window, window, "WM_PROTOCOLS",
                      static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False)),
                      NoEventMask);
  sync();
}

void XClient::send_client_message(Window to, Window about, const char* type, long first,
                                  long event_mask) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = about;
  event.xclient.message_type = XInternAtom(display_, type, False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = first;
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, to, False, event_mask, &event);
}

void XClient::sync() { XSync(display_, False); }

}  // namespace kv::xtest
