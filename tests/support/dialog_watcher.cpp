// The dialog watcher's thread: enumerate this process's top-level dialogs,
// read each new visible one once, press the requested button.
#include "tests/support/dialog_watcher.h"

#include <algorithm>

namespace {

const int kMessageBoxTextId = 0xFFFF;  // the static text of a message box
const int kMessageBoxIconId = 0x0440;  // its icon

std::string ReadText(HWND hwnd) {
    char buf[4096];
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof(buf), (LPARAM)buf, SMTO_ABORTIFHUNG, 2000, &len))
        return std::string();
    return std::string(buf, std::min<size_t>(len, sizeof(buf) - 1));
}

std::string ClassOf(HWND hwnd) {
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

UINT IconOf(HWND dlg) {
    HWND item = GetDlgItem(dlg, kMessageBoxIconId);
    if (!item) return 0;
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(item, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
    if (!icon) return 0;
    struct { LPCSTR id; UINT type; } known[] = {
        {IDI_HAND, MB_ICONERROR}, {IDI_QUESTION, MB_ICONQUESTION},
        {IDI_EXCLAMATION, MB_ICONWARNING}, {IDI_ASTERISK, MB_ICONINFORMATION}};
    for (auto& k : known) {
        if ((HICON)icon == LoadIconA(NULL, k.id)) return k.type;
    }
    return 0;
}

struct Found {
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM lParam) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && ClassOf(hwnd) == "#32770")
        reinterpret_cast<Found*>(lParam)->dialogs.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM lParam) {
    if (ClassOf(hwnd) == "Static") {
        std::string t = ReadText(hwnd);
        if (!t.empty()) {
            std::string& all = *reinterpret_cast<std::string*>(lParam);
            if (!all.empty()) all += "\n";
            all += t;
        }
    }
    return TRUE;
}

}  // namespace

bool SeenDialog::HasButton(int id) const {
    return std::find(buttons.begin(), buttons.end(), id) != buttons.end();
}

DialogWatcher::DialogWatcher() {
    m_stop = CreateEventA(NULL, TRUE, FALSE, NULL);
    m_thread = std::thread([this] { Run(); });
}

DialogWatcher::~DialogWatcher() {
    SetEvent(m_stop);
    m_thread.join();
    CloseHandle(m_stop);
}

void DialogWatcher::QueueAnswer(int buttonId) {
    QueueAction([buttonId](HWND, const SeenDialog&) { return buttonId; });
}

void DialogWatcher::QueueAction(Action action) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_queue.push_back(action);
}

void DialogWatcher::SetDefaultAnswer(int buttonId) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_defaultAnswer = buttonId;
}

void DialogWatcher::LeaveAlone(std::function<bool(const SeenDialog&)> pred) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_leaveAlone = pred;
}

std::vector<SeenDialog> DialogWatcher::Seen() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_seen;
}

size_t DialogWatcher::Count() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_seen.size();
}

void DialogWatcher::Clear() {
    std::lock_guard<std::mutex> hold(m_lock);
    m_seen.clear();
    m_queue.clear();
}

bool DialogWatcher::WaitForCount(size_t n, DWORD timeoutMs) const {
    return WaitFor([&] { return Count() >= n; }, timeoutMs);
}

void DialogWatcher::Run() {
    // Short polls: a box is found within a few milliseconds of showing.
    while (WaitForSingleObject(m_stop, 5) == WAIT_TIMEOUT) {
        Found found;
        EnumWindows(CollectDialog, (LPARAM)&found);
        {
            std::lock_guard<std::mutex> hold(m_lock);
            for (auto it = m_handled.begin(); it != m_handled.end();)
                it = IsWindow(*it) ? std::next(it) : m_handled.erase(it);
        }
        for (HWND hwnd : found.dialogs) Handle(hwnd);
    }
}

void DialogWatcher::Handle(HWND hwnd) {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_handled.count(hwnd)) return;
        m_handled.insert(hwnd);
    }
    SeenDialog seen;
    seen.hwnd = hwnd;
    seen.owner = GetWindow(hwnd, GW_OWNER);
    seen.caption = ReadText(hwnd);
    seen.style = GetWindowLongA(hwnd, GWL_STYLE);
    if (HWND text = GetDlgItem(hwnd, kMessageBoxTextId))
        seen.text = ReadText(text);
    else
        EnumChildWindows(hwnd, CollectStatic, (LPARAM)&seen.text);
    seen.icon = IconOf(hwnd);
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        HWND button = GetDlgItem(hwnd, id);
        if (button && IsWindowVisible(button) && ClassOf(button) == "Button") seen.buttons.push_back(id);
    }

    Action action;
    int answer = 0;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_leaveAlone && m_leaveAlone(seen)) {
            m_seen.push_back(seen);
            return;
        }
        if (!m_queue.empty()) {
            action = m_queue.front();
            m_queue.erase(m_queue.begin());
        }
        answer = m_defaultAnswer;
    }
    if (action) {
        answer = action(hwnd, seen);
    } else if (answer == 0) {
        for (int id : {IDOK, IDCANCEL, IDNO}) {
            if (seen.HasButton(id)) { answer = id; break; }
        }
    }
    seen.answer = answer;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_seen.push_back(seen);
    }
    if (answer) PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), (LPARAM)GetDlgItem(hwnd, answer));
}

bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start >= timeoutMs) return pred();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}
