#include "tests/settings/registry_fixture.h"

#include <shlwapi.h>

CWinApp& TestApp() {
    static CWinApp app("Zuvo");
    return app;
}

static void DeleteZuvoKey() { SHDeleteKeyA(HKEY_CURRENT_USER, ZUVO_KEY); }

void EmptyStore::SetUp() {
    TestApp().SetRegistryKey("Vantrel");
    DeleteZuvoKey();
}

void EmptyStore::TearDown() { DeleteZuvoKey(); }

bool RegKeyExists(const char* subkey) {
    HKEY h;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

bool RegReadRaw(const char* subkey, const char* name, DWORD* type, std::string* data) {
    HKEY h;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    char buf[4096];
    DWORD size = sizeof(buf);
    LONG r = RegQueryValueExA(h, name, NULL, type, (LPBYTE)buf, &size);
    RegCloseKey(h);
    if (r != ERROR_SUCCESS) return false;
    data->assign(buf, size);
    return true;
}

bool RegValueExists(const char* subkey, const char* name) {
    DWORD type;
    std::string data;
    return RegReadRaw(subkey, name, &type, &data);
}

void RegWriteRaw(const char* subkey, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY h;
    DWORD dw;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, NULL, 0, KEY_WRITE, NULL, &h, &dw),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(h, name, 0, type, (const BYTE*)data, size), ERROR_SUCCESS);
    RegCloseKey(h);
}
