// fill_time: starts zuvo.exe on an archive and measures the time until its
// window shows the archive: the title names it, the tree holds at least
// TREE_NODES nodes and the list at least LIST_ROWS rows. The counts are asked
// by messages, which the program answers only between its own work, so a
// reply means the filling is over. Then the window is closed.
//   fill_time ZUVO.EXE ARCHIVE TREE_NODES LIST_ROWS
// Prints "seconds peak_working_set_bytes" on success.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

struct Search {
    DWORD processId;
    const char* title;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->processId) return TRUE;
    char text[512];
    GetWindowTextA(hwnd, text, sizeof text);
    if (strcmp(text, search->title) != 0) return TRUE;
    search->found = hwnd;
    return FALSE;
}

struct Child {
    const char* className;
    HWND found;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lParam) {
    Child* child = reinterpret_cast<Child*>(lParam);
    char name[64];
    GetClassNameA(hwnd, name, sizeof name);
    if (strcmp(name, child->className) != 0) return TRUE;
    child->found = hwnd;
    return FALSE;
}

HWND ChildOf(HWND parent, const char* className) {
    Child child = {className, NULL};
    EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&child));
    return child.found;
}

// The count a control answers, or -1 when it does not answer in time.
LRESULT Count(HWND control, UINT message) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(control, message, 0, 0, SMTO_NORMAL, 60000, &result)) return -1;
    return (LRESULT)result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: fill_time ZUVO.EXE ARCHIVE TREE_NODES LIST_ROWS\n");
        return 2;
    }
    const char* exe = argv[1];
    const char* archive = argv[2];
    LRESULT wantNodes = atol(argv[3]), wantRows = atol(argv[4]);
    const char* base = strrchr(archive, '\\');
    char title[512];
    snprintf(title, sizeof title, "%s - Zuvo", base ? base + 1 : archive);

    char commandLine[1024];
    snprintf(commandLine, sizeof commandLine, "\"%s\" \"%s\"", exe, archive);
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) {
        fprintf(stderr, "fill_time: cannot start %s\n", exe);
        return 1;
    }

    const DWORD deadline = GetTickCount() + 120000;
    HWND window = NULL;
    double seconds = -1;
    while (GetTickCount() < deadline) {
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
            fprintf(stderr, "fill_time: zuvo.exe ended early\n");
            return 1;
        }
        if (!window) {
            Search search = {pi.dwProcessId, title, NULL};
            EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
            window = search.found;
        }
        HWND tree = window ? ChildOf(window, WC_TREEVIEWA) : NULL;
        HWND list = window ? ChildOf(window, WC_LISTVIEWA) : NULL;
        if (tree && list && Count(tree, TVM_GETCOUNT) >= wantNodes && Count(list, LVM_GETITEMCOUNT) >= wantRows) {
            QueryPerformanceCounter(&now);
            seconds = (double)(now.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
            break;
        }
        Sleep(2);
    }

    PROCESS_MEMORY_COUNTERS memory = {sizeof memory};
    GetProcessMemoryInfo(pi.hProcess, &memory, sizeof memory);
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (seconds < 0) {
        fprintf(stderr, "fill_time: the window was not filled (%s)\n", window ? "found" : "not found");
        return 1;
    }
    printf("%.3f %lu\n", seconds, (unsigned long)memory.PeakWorkingSetSize);
    return 0;
}
