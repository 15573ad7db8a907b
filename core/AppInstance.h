// The module instance handle, kept once at start-up; every dialog, icon and
// tooltip of the program is loaded from it.
#pragma once

#include <windows.h>

void SetAppInstance(HINSTANCE instance);
HINSTANCE AppInstance();
