// The X library is opened at run time: a machine without a display (or without the library)
// still runs every other tool, and the program does not depend on X at all. Only the four
// functions below are needed, declared here with Xlib's types (pointers and unsigned longs).
#include "system/posix/x11_pointer.h"

#include <dlfcn.h>

#include <cstdlib>

namespace tezlo {

namespace {

struct XDisplay;
using XWindowId = unsigned long;
using OpenDisplayFn = XDisplay* (*)(const char*);
using CloseDisplayFn = int (*)(XDisplay*);
using DefaultRootFn = XWindowId (*)(XDisplay*);
using QueryPointerFn = int (*)(XDisplay*, XWindowId, XWindowId*, XWindowId*, int*, int*, int*, int*,
                               unsigned int*);

struct XLibrary {
  void* handle = nullptr;
  OpenDisplayFn open = nullptr;
  CloseDisplayFn close = nullptr;
  DefaultRootFn root = nullptr;
  QueryPointerFn query = nullptr;
};

template <typename Fn>
Fn Symbol(void* handle, const char* name) {
  return reinterpret_cast<Fn>(dlsym(handle, name));
}

const XLibrary& Library() {
  static const XLibrary library = [] {
    XLibrary x;
    x.handle = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (x.handle == nullptr) return x;
    x.open = Symbol<OpenDisplayFn>(x.handle, "XOpenDisplay");
    x.close = Symbol<CloseDisplayFn>(x.handle, "XCloseDisplay");
    x.root = Symbol<DefaultRootFn>(x.handle, "XDefaultRootWindow");
    x.query = Symbol<QueryPointerFn>(x.handle, "XQueryPointer");
    return x;
  }();
  return library;
}

}  // namespace

std::optional<PointerPosition> X11PointerPosition(const std::string& display) {
  const char* name = display.empty() ? std::getenv("DISPLAY") : display.c_str();
  if (name == nullptr || *name == '\0') return std::nullopt;
  const XLibrary& x = Library();
  if (x.open == nullptr || x.close == nullptr || x.root == nullptr || x.query == nullptr)
    return std::nullopt;
  XDisplay* connection = x.open(name);
  if (connection == nullptr) return std::nullopt;
  XWindowId root = 0;
  XWindowId child = 0;
  int rootX = 0;
  int rootY = 0;
  int winX = 0;
  int winY = 0;
  unsigned int mask = 0;
  const bool onScreen = x.query(connection, x.root(connection), &root, &child, &rootX, &rootY,
                                &winX, &winY, &mask) != 0;
  x.close(connection);
  if (!onScreen) return std::nullopt;
  return PointerPosition{rootX, rootY};
}

}  // namespace tezlo
