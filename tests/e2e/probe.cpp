// Looks into another program's windows for the end-to-end tests. A console
// program that reads one request a line on stdin and answers on stdout, each
// answer ending with a line holding a single ".". Texts go out as UTF-8, with
// tabs and line breaks escaped; window handles are decimal numbers.
//
// Tree and list controls are read through memory allocated in the window's own
// process: Wine carries no pointer of a control message across processes, but
// passes the pointer itself, so a pointer into the target's memory works.
//
//   top                   every top-level window
//   kids HWND             every descendant window of HWND
//   tree HWND             the items of a tree control
//   list HWND             the columns and rows of a list-view control
//   toolbar HWND          the buttons of a toolbar
//   lb HWND / cb HWND     the items of a list box / combo box
//   settext HWND TEXT     WM_SETTEXT
//   check HWND            the state of a check box or radio button (0, 1, 2)
//   focus HWND            the window with the keyboard focus in HWND's thread
//   close HWND            posts WM_CLOSE (for helper windows no user can reach)
//   clip                  the clipboard's CF_TEXT
//   menu HWND             the menu bar of HWND, or the items of an open popup menu
//   textwidth HWND TEXT   a text's width in a list control's font
//   font 0 FACE           the family GDI draws FACE with, and the smoothing
//   bounds HWND           each row's whole rectangle (icon and every cell) in a list-view control
//   client HWND           the client area of HWND, on the screen
//   syscolor N            GetSysColor(N) as R G B
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string ToUtf8(const std::string& ansi) {
    if (ansi.empty()) return ansi;
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), (int)ansi.size(), NULL, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), (int)ansi.size(), &w[0], n);
    int m = WideCharToMultiByte(CP_UTF8, 0, w.data(), n, NULL, 0, NULL, NULL);
    std::string out(m, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), n, &out[0], m, NULL, NULL);
    return out;
}

std::string FromUtf8(const std::string& utf8) {
    if (utf8.empty()) return utf8;
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), NULL, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &w[0], n);
    int m = WideCharToMultiByte(CP_ACP, 0, w.data(), n, NULL, 0, NULL, NULL);
    std::string out(m, '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), n, &out[0], m, NULL, NULL);
    return out;
}

// One field of an answer line: UTF-8, no raw tab or line break.
std::string FieldUtf8(const std::string& utf8) {
    std::string out;
    for (char c : utf8) {
        if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

std::string Num(long long v) { return std::to_string(v); }

std::string RectFields(const RECT& r) {
    return Num(r.left) + "\t" + Num(r.top) + "\t" + Num(r.right - r.left) + "\t" + Num(r.bottom - r.top);
}

void Line(const std::string& s) { fputs((s + "\n").c_str(), stdout); }

std::string Field(const std::string& ansi) { return FieldUtf8(ToUtf8(ansi)); }

// As UTF-8, asked in UTF-16 so that a Unicode control's characters the code
// page lacks arrive as they are.
std::string WindowText(HWND hwnd) {
    wchar_t buf[4096] = L"";
    // WM_GETTEXT is carried across processes; GetWindowText would not ask a
    // control of another process for its text.
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, (LPARAM)buf, SMTO_ABORTIFHUNG, 3000, NULL);
    int n = WideCharToMultiByte(CP_UTF8, 0, buf, -1, NULL, 0, NULL, NULL);
    std::string out(n > 0 ? n : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, buf, -1, &out[0], n, NULL, NULL);
    out.resize(strlen(out.c_str()));
    return out;
}

std::string ClassOf(HWND hwnd) {
    char buf[256] = "";
    GetClassNameA(hwnd, buf, sizeof buf);
    return buf;
}

std::string Describe(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return Num((LONG_PTR)hwnd) + "\t" + Num((LONG_PTR)GetParent(hwnd)) + "\t" +
           Num(GetWindowLongA(hwnd, GWL_ID)) + "\t" + Field(ClassOf(hwnd)) + "\t" +
           Num(IsWindowVisible(hwnd) ? 1 : 0) + "\t" + Num(IsWindowEnabled(hwnd) ? 1 : 0) + "\t" +
           Num((unsigned long)GetWindowLongA(hwnd, GWL_STYLE)) + "\t" +
           Num((unsigned long)GetWindowLongA(hwnd, GWL_EXSTYLE)) + "\t" + Num(pid) + "\t" +
           RectFields(r) + "\t" + FieldUtf8(WindowText(hwnd));
}

// A block of memory inside the process that owns a window.
class RemoteBlock {
public:
    RemoteBlock(HWND hwnd, size_t size) : m_size(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_process)
            m_base = (char*)VirtualAllocEx(m_process, NULL, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBlock() {
        if (m_base) VirtualFreeEx(m_process, m_base, 0, MEM_RELEASE);
        if (m_process) CloseHandle(m_process);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool Ok() const { return m_base != NULL; }
    char* At(size_t offset) const { return m_base + offset; }
    bool Write(size_t offset, const void* data, size_t n) {
        return offset + n <= m_size && WriteProcessMemory(m_process, m_base + offset, data, n, NULL);
    }
    bool Read(size_t offset, void* data, size_t n) const {
        return offset + n <= m_size && ReadProcessMemory(m_process, m_base + offset, data, n, NULL);
    }
    std::string ReadText(size_t offset, size_t max) const {
        std::vector<char> buf(max + 1, 0);
        if (!Read(offset, buf.data(), max)) return "";
        buf[max] = 0;
        return buf.data();
    }

private:
    HANDLE m_process = NULL;
    char* m_base = NULL;
    size_t m_size;
};

const size_t kTextOffset = 1024;
const size_t kTextMax = 2048;

LRESULT Send(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(hwnd, msg, w, l, SMTO_ABORTIFHUNG, 5000, &result);
    return (LRESULT)result;
}

void ScreenRect(HWND hwnd, RECT& r) {
    MapWindowPoints(hwnd, NULL, (POINT*)&r, 2);
}

BOOL CALLBACK AddWindow(HWND hwnd, LPARAM param) {
    ((std::vector<HWND>*)param)->push_back(hwnd);
    return TRUE;
}

void Top() {
    std::vector<HWND> all;
    EnumWindows(AddWindow, (LPARAM)&all);
    for (HWND h : all) Line(Describe(h));
}

void Kids(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, AddWindow, (LPARAM)&all);
    for (HWND h : all) Line(Describe(h));
}

// level, state, x, y, w, h (label, screen), text
void TreeItems(HWND tree, RemoteBlock& mem, HTREEITEM item, int level) {
    for (; item; item = (HTREEITEM)Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)item)) {
        TVITEMA tv = {};
        tv.mask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE;
        tv.hItem = item;
        tv.stateMask = 0xFFFF;
        tv.pszText = mem.At(kTextOffset);
        tv.cchTextMax = kTextMax;
        mem.Write(0, &tv, sizeof tv);
        Send(tree, TVM_GETITEMA, 0, (LPARAM)mem.At(0));
        mem.Read(0, &tv, sizeof tv);
        std::string text = mem.ReadText(kTextOffset, kTextMax);

        RECT r = {};
        *(HTREEITEM*)&r = item;
        mem.Write(512, &r, sizeof r);
        bool shown = Send(tree, TVM_GETITEMRECT, TRUE, (LPARAM)mem.At(512)) != 0;
        mem.Read(512, &r, sizeof r);
        if (shown) ScreenRect(tree, r);
        else r = RECT{};
        Line(Num(level) + "\t" + Num(tv.state) + "\t" + RectFields(r) + "\t" + Field(text));
        TreeItems(tree, mem, (HTREEITEM)Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)item), level + 1);
    }
}

void Tree(HWND tree) {
    RemoteBlock mem(tree, kTextOffset + kTextMax + 16);
    if (!mem.Ok()) { Line("error\tno memory in the window's process"); return; }
    TreeItems(tree, mem, (HTREEITEM)Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0), 0);
}

// "columns" line: count, then width and text of each column; then one "row"
// line a row: state, x, y, w, h (bounds, screen), then the text of each column.
void List(HWND list) {
    RemoteBlock mem(list, kTextOffset + kTextMax + 16);
    if (!mem.Ok()) { Line("error\tno memory in the window's process"); return; }
    HWND header = (HWND)Send(list, LVM_GETHEADER, 0, 0);
    int columns = header ? (int)Send(header, HDM_GETITEMCOUNT, 0, 0) : 0;
    if (columns < 0) columns = 0;
    std::string line = "columns\t" + Num(columns);
    for (int c = 0; c < columns; ++c) {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = mem.At(kTextOffset);
        col.cchTextMax = kTextMax;
        mem.Write(0, &col, sizeof col);
        Send(list, LVM_GETCOLUMNA, c, (LPARAM)mem.At(0));
        mem.Read(0, &col, sizeof col);
        RECT hr = {};
        mem.Write(512, &hr, sizeof hr);
        Send(header, HDM_GETITEMRECT, c, (LPARAM)mem.At(512));
        mem.Read(512, &hr, sizeof hr);
        ScreenRect(header, hr);
        line += "\t" + Num(col.cx) + "\t" + RectFields(hr) + "\t" + Field(mem.ReadText(kTextOffset, kTextMax));
    }
    Line(line);
    int rows = (int)Send(list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < rows; ++i) {
        UINT state = (UINT)Send(list, LVM_GETITEMSTATE, i, LVIS_SELECTED | LVIS_FOCUSED);
        RECT r = {};
        r.left = LVIR_LABEL;
        mem.Write(512, &r, sizeof r);
        Send(list, LVM_GETITEMRECT, i, (LPARAM)mem.At(512));
        mem.Read(512, &r, sizeof r);
        ScreenRect(list, r);
        std::string row = "row\t" + Num(state) + "\t" + RectFields(r);
        for (int c = 0; c < (columns ? columns : 1); ++c) {
            LVITEMA item = {};
            item.iSubItem = c;
            item.pszText = mem.At(kTextOffset);
            item.cchTextMax = kTextMax;
            mem.Write(0, &item, sizeof item);
            Send(list, LVM_GETITEMTEXTA, i, (LPARAM)mem.At(0));
            row += "\t" + Field(mem.ReadText(kTextOffset, kTextMax));
        }
        Line(row);
    }
}

// command id, state, style, x, y, w, h
void Toolbar(HWND bar) {
    RemoteBlock mem(bar, 256);
    if (!mem.Ok()) { Line("error\tno memory in the window's process"); return; }
    int count = (int)Send(bar, TB_BUTTONCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        TBBUTTON b = {};
        Send(bar, TB_GETBUTTON, i, (LPARAM)mem.At(0));
        mem.Read(0, &b, sizeof b);
        RECT r = {};
        Send(bar, TB_GETITEMRECT, i, (LPARAM)mem.At(128));
        mem.Read(128, &r, sizeof r);
        ScreenRect(bar, r);
        Line(Num(b.idCommand) + "\t" + Num(b.fsState) + "\t" + Num(b.fsStyle) + "\t" + RectFields(r));
    }
}

// Items of a list box or combo box: selected (1/0), x, y, w, h, text. Asked
// for in UTF-16: Wine hands an ANSI caller in another process the wide text.
void Items(HWND box, bool combo) {
    UINT count = combo ? CB_GETCOUNT : LB_GETCOUNT;
    UINT getText = combo ? CB_GETLBTEXT : LB_GETTEXT;
    UINT getLen = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    int n = (int)Send(box, count, 0, 0);
    int current = (int)Send(box, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    for (int i = 0; i < n; ++i) {
        DWORD_PTR len = 0;
        SendMessageTimeoutW(box, getLen, i, 0, SMTO_ABORTIFHUNG, 5000, &len);
        std::string text;
        if ((int)len > 0) {
            std::vector<wchar_t> buf(len + 1, 0);
            SendMessageTimeoutW(box, getText, i, (LPARAM)buf.data(), SMTO_ABORTIFHUNG, 5000, NULL);
            int m = WideCharToMultiByte(CP_ACP, 0, buf.data(), -1, NULL, 0, NULL, NULL);
            std::vector<char> ansi(m + 1, 0);
            WideCharToMultiByte(CP_ACP, 0, buf.data(), -1, ansi.data(), m, NULL, NULL);
            text = ansi.data();
        }
        RECT r = {};
        if (!combo && Send(box, LB_GETITEMRECT, i, (LPARAM)&r) != LB_ERR) ScreenRect(box, r);
        Line(Num(i == current ? 1 : 0) + "\t" + RectFields(r) + "\t" + Field(text));
    }
}

void Clip() {
    for (int tries = 0; tries < 50 && !OpenClipboard(NULL); ++tries) Sleep(20);
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
        const char* text = (const char*)GlobalLock(data);
        if (text) {
            Line(Field(text));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
}

void Menu(HWND hwnd) {
    HMENU menu = ClassOf(hwnd) == "#32768" ? (HMENU)Send(hwnd, MN_GETHMENU, 0, 0) : GetMenu(hwnd);
    if (!menu) { Line("error\tno menu"); return; }
    int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        char text[512] = "";
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        RECT r = {};
        GetMenuItemRect(ClassOf(hwnd) == "#32768" ? NULL : hwnd, menu, i, &r);
        Line(Num(info.wID) + "\t" + Num(info.fState) + "\t" + Num(info.fType) + "\t" + RectFields(r) +
             "\t" + Field(text));
    }
}

// x, y, w, h (screen) of each row's bounds (LVIR_BOUNDS).
void Bounds(HWND list) {
    RemoteBlock mem(list, 64);
    if (!mem.Ok()) { Line("error\tno memory in the window's process"); return; }
    int rows = (int)Send(list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < rows; ++i) {
        RECT r = {};
        r.left = LVIR_BOUNDS;
        mem.Write(0, &r, sizeof r);
        Send(list, LVM_GETITEMRECT, i, (LPARAM)mem.At(0));
        mem.Read(0, &r, sizeof r);
        ScreenRect(list, r);
        Line(RectFields(r));
    }
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (int i = 0; i < 2; ++i) {
        size_t space = line.find(' ', start);
        if (space == std::string::npos) break;
        parts.push_back(line.substr(start, space - start));
        start = space + 1;
    }
    parts.push_back(line.substr(start));
    return parts;
}

// The English family name in a font's 'name' table (UTF-16BE records of the
// Windows platform), empty when there is none.
std::string FamilyFromNameTable(HDC hdc) {
    const DWORD kName = 0x656d616e;  // 'name', as GetFontData wants it
    DWORD size = GetFontData(hdc, kName, 0, NULL, 0);
    if (size == GDI_ERROR || size < 6) return "";
    std::vector<unsigned char> t(size);
    if (GetFontData(hdc, kName, 0, t.data(), size) != size) return "";
    auto u16 = [&](size_t at) { return at + 2 <= t.size() ? (t[at] << 8) | t[at + 1] : 0; };
    size_t count = u16(2), strings = u16(4);
    for (size_t i = 0; i < count; ++i) {
        size_t r = 6 + 12 * i;
        if (u16(r) != 3 || u16(r + 6) != 1 || u16(r + 4) != 0x409) continue;
        size_t len = u16(r + 8), at = strings + u16(r + 10);
        std::string name;
        for (size_t k = 0; k + 1 < len && at + k + 1 < t.size(); k += 2) name += (char)u16(at + k);
        return name;
    }
    return "";
}

// The font GDI gives for a face name at 9 points: the family of the font it
// draws with, then whether and how text is smoothed.
void Font(const std::string& face) {
    HDC hdc = GetDC(NULL);
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
    HGDIOBJ old = SelectObject(hdc, font);
    std::string family = FamilyFromNameTable(hdc);
    SelectObject(hdc, old);
    DeleteObject(font);
    ReleaseDC(NULL, hdc);
    BOOL smoothing = FALSE;
    UINT type = 0;
    SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &smoothing, 0);
    SystemParametersInfoA(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0);
    Line(Field(family) + "\t" + Num(smoothing ? 1 : 0) + "\t" + Num(type));
}

void Handle(const std::string& line) {
    std::vector<std::string> p = Split(line);
    const std::string& verb = p[0];
    HWND hwnd = p.size() > 1 ? (HWND)(LONG_PTR)strtoll(p[1].c_str(), NULL, 10) : NULL;
    if (verb == "top") Top();
    else if (verb == "clip") Clip();
    else if (verb == "font") Font(p.size() > 2 ? FromUtf8(p[2]) : "");
    else if (verb == "syscolor") {
        COLORREF c = GetSysColor((int)strtol(p.size() > 1 ? p[1].c_str() : "0", NULL, 10));
        Line(Num(GetRValue(c)) + "\t" + Num(GetGValue(c)) + "\t" + Num(GetBValue(c)));
    }
    else if (!hwnd || !IsWindow(hwnd)) Line("error\tno such window");
    else if (verb == "kids") Kids(hwnd);
    else if (verb == "tree") Tree(hwnd);
    else if (verb == "list") List(hwnd);
    else if (verb == "toolbar") Toolbar(hwnd);
    else if (verb == "lb") Items(hwnd, false);
    else if (verb == "cb") Items(hwnd, true);
    else if (verb == "menu") Menu(hwnd);
    else if (verb == "bounds") Bounds(hwnd);
    else if (verb == "client") {
        RECT r;
        GetClientRect(hwnd, &r);
        ScreenRect(hwnd, r);
        Line(RectFields(r));
    }
    else if (verb == "settext") {
        std::string text = p.size() > 2 ? FromUtf8(p[2]) : "";
        Send(hwnd, WM_SETTEXT, 0, (LPARAM)text.c_str());
    } else if (verb == "focus") {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, NULL), &info);
        Line(Num((LONG_PTR)info.hwndFocus) + "\t" + Num((LONG_PTR)info.hwndActive));
    } else if (verb == "close") {
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    } else if (verb == "textwidth") {
        // A text's width in a list control's font, as the control measures it.
        std::string text = p.size() > 2 ? FromUtf8(p[2]) : "";
        RemoteBlock mem(hwnd, text.size() + 1);
        if (!mem.Ok() || !mem.Write(0, text.c_str(), text.size() + 1)) Line("error\tno memory");
        else Line(Num(Send(hwnd, LVM_GETSTRINGWIDTHA, 0, (LPARAM)mem.At(0))));
    } else if (verb == "check") Line(Num(Send(hwnd, BM_GETCHECK, 0, 0)));
    else Line("error\tunknown request");
}

}  // namespace

int main() {
    char buf[8192];
    while (fgets(buf, sizeof buf, stdin)) {
        std::string line = buf;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (!line.empty()) Handle(line);
        Line(".");
        fflush(stdout);
    }
    return 0;
}
