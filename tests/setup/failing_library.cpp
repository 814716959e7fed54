// Stands in for the library beside the registration program: registration fails, and there is
// no unregistration entry at all.

#include <windows.h>
#include <olectl.h>

STDAPI DllRegisterServer() { return SELFREG_E_CLASS; }
