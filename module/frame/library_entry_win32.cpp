// Windows library entry point: succeeds for every reason and does nothing
// beyond the runtime's own static construction and destruction.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
