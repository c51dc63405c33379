// A second thread that plays the user while the test's own thread sits in a
// modal dialog: it finds windows by polling with a deadline and works their
// controls. Failures are collected and reported on the test's thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

class UserThread {
public:
    explicit UserThread(std::function<void(UserThread&)> script);
    ~UserThread();  // joins

    // Polls for a visible top-level dialog of this process with this caption
    // (code page 932 bytes); NULL at the deadline (and a failure noted).
    HWND WaitForDialog(const std::string& caption, DWORD timeoutMs = 10000);
    // Polls until pred holds; false (and a failure noted) at the deadline.
    bool WaitUntil(const std::function<bool()>& pred, const char* what, DWORD timeoutMs = 10000);
    void Fail(const std::string& what);
    std::vector<std::string> Failures();
    void Join();

    static std::string Text(HWND hWnd);
    // Clicks a button: Click returns at once, Press when the click is handled.
    static void Click(HWND hDlg, int id);
    static void Press(HWND hDlg, int id);
    static bool IsChecked(HWND hDlg, int id);
    static void SetCheck(HWND hDlg, int id, bool checked);
    // The items of a list box.
    static std::vector<std::string> ListItems(HWND hList);

private:
    std::vector<std::string> m_failures;
    std::thread m_thread;
};
