// Stands in for a browser component older than the registration program accepts.

#include <windows.h>
#include <shlwapi.h>

STDAPI DllGetVersion(DLLVERSIONINFO* info) {
    if (!info || info->cbSize < sizeof(DLLVERSIONINFO)) return E_INVALIDARG;
    info->dwMajorVersion = 4;
    info->dwMinorVersion = 72;
    info->dwBuildNumber = 3110;
    info->dwPlatformID = DLLVER_PLATFORM_WINDOWS;
    return S_OK;
}
