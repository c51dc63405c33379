// A scripted stand-in for unlha32.dll. It records every call (entry point,
// window, number argument and text argument, e.g. the exact command line) and
// answers as the test says through the Fake* exports. Built twice: complete,
// and with FAKE_PARTIAL, lacking the entry points a listing's first step does
// not need.
//
// The engine loads and frees the library around each operation, so a test
// keeps its own LoadLibrary reference while it scripts and reads the state.
#include "interface/unlha32.h"

#include <string.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#define FAKE_API extern "C" __declspec(dllexport)
#define UNLHA_API extern "C" __declspec(dllexport)

namespace {

struct Call {
    std::string name;
    std::string text;
    HWND hwnd;
    DWORD number;
};

struct Result {
    int code;
    std::string output;
};

HARC const kArchiveHandle = (HARC)0x4A5C;

std::vector<Call> g_calls;
DWORD g_version = 100;
int g_running = 0;
std::deque<Result> g_results;
BOOL g_checkResult = TRUE;
BOOL g_openFails = FALSE;
std::vector<UNLHA_ENTRY_RECORD> g_records;
size_t g_nextRecord = 0;
int g_openArchives = 0;
BOOL g_pumpNextCall = FALSE;

void Record(const char* name, HWND hwnd, DWORD number, const std::string& text) {
    g_calls.push_back(Call{name, text, hwnd, number});
}

std::string Pointer(const void* p) {
    char buf[32];
    wsprintfA(buf, "%p", p);
    return buf;
}

int Deliver(UNLHA_ENTRY_RECORD* pRecord) {
    if (g_nextRecord >= g_records.size()) return -1;
    *pRecord = g_records[g_nextRecord++];
    return 0;
}

}  // namespace

// ---- the library's entry points ----

UNLHA_API WORD WINAPI UnlhaGetVersion() {
    Record("UnlhaGetVersion", NULL, 0, "");
    return (WORD)g_version;
}

UNLHA_API BOOL WINAPI UnlhaGetRunning() {
    Record("UnlhaGetRunning", NULL, 0, "");
    return g_running;
}

UNLHA_API HARC WINAPI UnlhaOpenArchive(HWND hwnd, LPCSTR archive, DWORD mode) {
    Record("UnlhaOpenArchive", hwnd, mode, archive ? archive : "(null)");
    if (g_openFails) return NULL;
    g_nextRecord = 0;
    ++g_openArchives;
    return kArchiveHandle;
}

// Like the library, searches under a handle it did not give out find nothing.
UNLHA_API int WINAPI UnlhaFindFirst(HARC arc, LPCSTR wild, UNLHA_ENTRY_RECORD* pRecord) {
    Record("UnlhaFindFirst", NULL, arc == kArchiveHandle, wild ? wild : "(null)");
    g_nextRecord = 0;
    return arc == kArchiveHandle && g_openArchives > 0 ? Deliver(pRecord) : -1;
}

UNLHA_API int WINAPI UnlhaCloseArchive(HARC arc) {
    Record("UnlhaCloseArchive", NULL, arc == kArchiveHandle, Pointer(arc));
    if (arc == kArchiveHandle) --g_openArchives;
    return 0;
}

#ifndef FAKE_PARTIAL
UNLHA_API int WINAPI UnlhaFindNext(HARC arc, UNLHA_ENTRY_RECORD* pRecord) {
    Record("UnlhaFindNext", NULL, arc == kArchiveHandle, "");
    return arc == kArchiveHandle && g_openArchives > 0 ? Deliver(pRecord) : -1;
}

UNLHA_API BOOL WINAPI UnlhaSetCursorMode(BOOL mode) {
    Record("UnlhaSetCursorMode", NULL, mode, "");
    return TRUE;
}

UNLHA_API int WINAPI Unlha(HWND hwnd, LPCSTR cmdLine, LPSTR output, DWORD size) {
    Record("Unlha", hwnd, size, cmdLine ? cmdLine : "(null)");
    Result r{0, ""};
    if (!g_results.empty()) {
        r = g_results.front();
        g_results.pop_front();
    }
    // Like the library: up to size characters, then the terminating zero.
    if (output) {
        size_t n = r.output.size() < size ? r.output.size() : size;
        memcpy(output, r.output.data(), n);
        output[n] = '\0';
    }
    // Like the library's progress window: messages posted meanwhile are
    // handled inside the call.
    if (g_pumpNextCall) {
        g_pumpNextCall = FALSE;
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Record("UnlhaReturn", hwnd, 0, "");
    }
    return r.code;
}

UNLHA_API BOOL WINAPI UnlhaCheckArchive(LPCSTR archive, int mode) {
    Record("UnlhaCheckArchive", NULL, mode, archive ? archive : "(null)");
    return g_checkResult;
}

UNLHA_API BOOL WINAPI UnlhaConfigDialog(HWND hwnd, LPSTR buffer, int mode) {
    Record("UnlhaConfigDialog", hwnd, mode, buffer ? "buffer" : "(null)");
    if (buffer) memset(buffer, 'C', 999);  // the caller promised 1000 bytes
    return TRUE;
}
#endif

// ---- scripting ----

FAKE_API void FakeReset() {
    g_calls.clear();
    g_version = 100;
    g_running = 0;
    g_results.clear();
    g_checkResult = TRUE;
    g_openFails = FALSE;
    g_records.clear();
    g_nextRecord = 0;
    g_openArchives = 0;
    g_pumpNextCall = FALSE;
}

FAKE_API void FakeSetVersion(DWORD version) { g_version = version; }
FAKE_API void FakeSetRunning(int running) { g_running = running; }
FAKE_API void FakeSetCheckResult(BOOL result) { g_checkResult = result; }
FAKE_API void FakeSetOpenFails(BOOL fails) { g_openFails = fails; }
// The next Unlha call handles posted messages and records "UnlhaReturn" last.
FAKE_API void FakePumpDuringNextCall() { g_pumpNextCall = TRUE; }

// The next Unlha call returns code and writes output; unqueued calls return 0
// with empty output.
FAKE_API void FakeQueueResult(int code, const char* output) {
    g_results.push_back(Result{code, output ? output : ""});
}

// Appends an entry record. A name too long for the name field runs on to the
// end of the record with no terminating zero.
FAKE_API void FakeAddRecord(const char* name, DWORD originalSize, DWORD compressedSize, WORD date,
                            WORD time) {
    UNLHA_ENTRY_RECORD rec;
    memset(&rec, 0xCC, sizeof(rec));  // library data the caller must not rely on
    rec.dwOriginalSize = originalSize;
    rec.dwCompressedSize = compressedSize;
    rec.wDate = date;
    rec.wTime = time;
    const size_t at = offsetof(UNLHA_ENTRY_RECORD, szFileName);
    memcpy(reinterpret_cast<char*>(&rec) + at, name, std::min(strlen(name) + 1, sizeof(rec) - at));
    g_records.push_back(rec);
}

FAKE_API void FakeClearCalls() { g_calls.clear(); }
FAKE_API int FakeCallCount() { return (int)g_calls.size(); }
FAKE_API const char* FakeCallName(int i) { return g_calls.at(i).name.c_str(); }
FAKE_API const char* FakeCallText(int i) { return g_calls.at(i).text.c_str(); }
FAKE_API HWND FakeCallWindow(int i) { return g_calls.at(i).hwnd; }
FAKE_API DWORD FakeCallNumber(int i) { return g_calls.at(i).number; }
// Archives opened and not yet closed.
FAKE_API int FakeOpenArchives() { return g_openArchives; }
