// Entry points of the in-process server.

#include <windows.h>

#include "common/module.h"
#include "server/class_factory.h"
#include "server/registration.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) quorin::setModuleHandle(instance);
    return TRUE;
}

STDAPI DllCanUnloadNow() { return quorin::liveObjects() == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID classId, REFIID riid, LPVOID* out) {
    return quorin::getClassObject(classId, riid, out);
}

STDAPI DllRegisterServer() { return quorin::registerServer(HKEY_LOCAL_MACHINE); }
STDAPI DllUnregisterServer() { return quorin::unregisterServer(HKEY_LOCAL_MACHINE); }
// The toolbar and helper entries for the current user only.
STDAPI DllRegisterServerCU() { return quorin::registerServer(HKEY_CURRENT_USER); }
STDAPI DllUnregisterServerCU() { return quorin::unregisterServer(HKEY_CURRENT_USER); }
