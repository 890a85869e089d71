// The Windows and COM headers, included once, with the macros that would rename the port's own
// members (Ui::MessageBox) taken back.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oaidl.h>
#include <ocidl.h>

#undef MessageBox
#undef GetObject
