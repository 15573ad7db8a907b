// Entry point of TWK.exe and TWK64.exe.
#include "app/Startup.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    return RunStartup(instance, showCommand);
}
