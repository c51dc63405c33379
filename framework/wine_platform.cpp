#include "framework/wine_platform.h"

BOOL AfxRunningOnWine() {
    // Wine's ntdll exports its version; Windows' does not.
    HMODULE hNtdll = GetModuleHandleA("ntdll.dll");
    return hNtdll != NULL && GetProcAddress(hNtdll, "wine_get_version") != NULL;
}
