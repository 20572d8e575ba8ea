// Window properties read with Xlib, for the harness's own sources (included
// after harness.h, since Xlib's macros break GoogleTest).
#pragma once

#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace e2e {

// The 32-bit items of property `name` of window `w` (at most `max` of them),
// when it has that property with type `type`; none otherwise.
std::vector<unsigned long> longProperty(::Display* d, unsigned long w, const char* name, Atom type, long max);

}  // namespace e2e
