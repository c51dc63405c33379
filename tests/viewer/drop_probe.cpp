// A stand-in for another program in drag-and-drop tests: a window with an OLE
// drop target that writes what it receives to a log, and, given files, a drag
// source that offers them when the window is pressed.
//   drop_probe.exe LOG [FILE...]
// Log lines (each written at once):
//   arg <path> <hex content>      a FILE given on the command line
//   ready <hwnd>                  the window is up
//   early refused|<n>             data asked for while the button was down
//   file <path> <hex content>     one dropped file, read back at the drop
//   dropped <n>                   end of a drop of n files
//   drag <effect>                 a drag of FILEs ended with that effect
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <stdio.h>

#include <string>
#include <vector>

namespace {

FILE* g_log = nullptr;
std::vector<std::string> g_files;

void Log(const std::string& line) {
    fprintf(g_log, "%s\n", line.c_str());
    fflush(g_log);
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string ReadFileBytes(const char* path) {
    std::string data;
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    char buf[4096];
    DWORD n;
    while (ReadFile(h, buf, sizeof(buf), &n, NULL) && n > 0) data.append(buf, n);
    CloseHandle(h);
    return Hex(data);
}

FORMATETC HdropFormat() { return FORMATETC{CF_HDROP, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// Names of a dropped-file block; -1 when the data could not be had.
int LogDrop(IDataObject* pData, bool bEarly) {
    FORMATETC format = HdropFormat();
    STGMEDIUM medium = {};
    if (pData->GetData(&format, &medium) != S_OK) return -1;
    HDROP hDrop = (HDROP)medium.hGlobal;
    UINT n = DragQueryFileA(hDrop, 0xFFFFFFFF, NULL, 0);
    for (UINT i = 0; i < n && !bEarly; ++i) {
        char path[MAX_PATH];
        DragQueryFileA(hDrop, i, path, sizeof(path));
        Log(std::string("file ") + path + " " + ReadFileBytes(path));
    }
    ReleaseStgMedium(&medium);
    return (int)n;
}

struct Target : IDropTarget {
    LONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDropTarget) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs); }
    STDMETHODIMP_(ULONG) Release() override { return InterlockedDecrement(&refs); }
    STDMETHODIMP DragEnter(IDataObject* pData, DWORD, POINTL, DWORD* pdwEffect) override {
        int n = LogDrop(pData, true);
        Log(n < 0 ? "early refused" : "early " + std::to_string(n));
        *pdwEffect &= DROPEFFECT_COPY;
        return S_OK;
    }
    STDMETHODIMP DragOver(DWORD, POINTL, DWORD* pdwEffect) override {
        *pdwEffect &= DROPEFFECT_COPY;
        return S_OK;
    }
    STDMETHODIMP DragLeave() override { return S_OK; }
    STDMETHODIMP Drop(IDataObject* pData, DWORD, POINTL, DWORD* pdwEffect) override {
        Log("dropped " + std::to_string(LogDrop(pData, false)));
        *pdwEffect &= DROPEFFECT_COPY;
        return S_OK;
    }
};

// The FILEs as CF_HDROP, rendered at once.
struct Source : IDataObject, IDropSource {
    LONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDataObject) *ppv = static_cast<IDataObject*>(this);
        else if (riid == IID_IDropSource) *ppv = static_cast<IDropSource*>(this);
        else {
            *ppv = NULL;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs); }
    STDMETHODIMP_(ULONG) Release() override { return InterlockedDecrement(&refs); }
    STDMETHODIMP GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) override {
        if (QueryGetData(pFormat) != S_OK) return DV_E_FORMATETC;
        size_t size = sizeof(DROPFILES) + 1;
        for (const std::string& f : g_files) size += f.size() + 1;
        HGLOBAL h = GlobalAlloc(GHND, size);
        DROPFILES* pDrop = (DROPFILES*)GlobalLock(h);
        pDrop->pFiles = sizeof(DROPFILES);
        char* p = (char*)(pDrop + 1);
        for (const std::string& f : g_files) {
            memcpy(p, f.c_str(), f.size() + 1);
            p += f.size() + 1;
        }
        GlobalUnlock(h);
        pMedium->tymed = TYMED_HGLOBAL;
        pMedium->hGlobal = h;
        pMedium->pUnkForRelease = NULL;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* pFormat) override {
        return pFormat->cfFormat == CF_HDROP && (pFormat->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD dir, IEnumFORMATETC** ppEnum) override {
        FORMATETC format = HdropFormat();
        if (dir != DATADIR_GET) return E_NOTIMPL;
        return SHCreateStdEnumFmtEtc(1, &format, ppEnum);
    }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP QueryContinueDrag(BOOL fEscape, DWORD keys) override {
        if (fEscape) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    STDMETHODIMP GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

Target g_target;
Source g_source;

LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        if (!g_files.empty()) {
            DWORD effect = DROPEFFECT_NONE;
            HRESULT hr = DoDragDrop(&g_source, &g_source, DROPEFFECT_COPY, &effect);
            Log("drag " + std::to_string(hr == DRAGDROP_S_DROP ? (int)effect : 0));
        }
        return 0;
    case WM_DESTROY:
        RevokeDragDrop(hWnd);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    if (__argc < 2 || (g_log = fopen(__argv[1], "a")) == nullptr) return 2;
    for (int i = 2; i < __argc; ++i) {
        char full[MAX_PATH];
        GetFullPathNameA(__argv[i], MAX_PATH, full, NULL);
        g_files.push_back(full);
        Log(std::string("arg ") + full + " " + ReadFileBytes(full));
    }
    OleInitialize(NULL);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "ZuvoDropProbe";
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowA("ZuvoDropProbe", "Zuvo Drop Probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              900, 100, 300, 300, NULL, NULL, hInstance, NULL);
    if (hWnd == NULL || RegisterDragDrop(hWnd, &g_target) != S_OK) return 3;
    char ready[64];
    wsprintfA(ready, "ready %p", hWnd);
    Log(ready);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    OleUninitialize();
    fclose(g_log);
    return 0;
}
