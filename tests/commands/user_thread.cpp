#include "tests/commands/user_thread.h"

#include "tests/support/dialog_watcher.h"

UserThread::UserThread(std::function<void(UserThread&)> script)
    : m_thread([this, script] { script(*this); }) {}

UserThread::~UserThread() { Join(); }

void UserThread::Join() {
    if (m_thread.joinable()) m_thread.join();
}

void UserThread::Fail(const std::string& what) { m_failures.push_back(what); }

std::vector<std::string> UserThread::Failures() {
    Join();
    return m_failures;
}

namespace {
struct DialogSearch {
    std::string caption;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam) {
    DialogSearch* search = reinterpret_cast<DialogSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    char cls[16] = "";
    GetClassNameA(hWnd, cls, sizeof(cls));
    if (pid == GetCurrentProcessId() && IsWindowVisible(hWnd) && lstrcmpA(cls, "#32770") == 0 &&
        UserThread::Text(hWnd) == search->caption) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND UserThread::WaitForDialog(const std::string& caption, DWORD timeoutMs) {
    DialogSearch search = {caption, NULL};
    WaitFor([&] {
        EnumWindows(FindDialog, (LPARAM)&search);
        return search.found != NULL;
    }, timeoutMs);
    if (!search.found) Fail("no dialog captioned " + caption);
    return search.found;
}

bool UserThread::WaitUntil(const std::function<bool()>& pred, const char* what, DWORD timeoutMs) {
    if (WaitFor(pred, timeoutMs)) return true;
    Fail(std::string("timed out waiting for ") + what);
    return false;
}

std::string UserThread::Text(HWND hWnd) {
    int n = (int)SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0);
    std::string text(n + 1, '\0');
    SendMessageA(hWnd, WM_GETTEXT, n + 1, (LPARAM)&text[0]);
    text.resize(strlen(text.c_str()));
    return text;
}

void UserThread::Click(HWND hDlg, int id) {
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, id));
}

void UserThread::Press(HWND hDlg, int id) {
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, id));
}

bool UserThread::IsChecked(HWND hDlg, int id) {
    return SendDlgItemMessageA(hDlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void UserThread::SetCheck(HWND hDlg, int id, bool checked) {
    SendDlgItemMessageA(hDlg, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::vector<std::string> UserThread::ListItems(HWND hList) {
    std::vector<std::string> items;
    int n = (int)SendMessageA(hList, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        int len = (int)SendMessageA(hList, LB_GETTEXTLEN, i, 0);
        if (len < 0) continue;
        std::string item(len + 1, '\0');
        SendMessageA(hList, LB_GETTEXT, i, (LPARAM)&item[0]);
        item.resize(strlen(item.c_str()));
        items.push_back(item);
    }
    return items;
}
