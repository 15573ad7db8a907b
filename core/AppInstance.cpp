#include "core/AppInstance.h"

namespace {
HINSTANCE g_instance = nullptr;
}

void SetAppInstance(HINSTANCE instance)
{
    g_instance = instance;
}

HINSTANCE AppInstance()
{
    return g_instance;
}
