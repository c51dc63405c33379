// Watches for dialogs (class #32770: message boxes and dialog boxes) that this
// process shows, records what they say and presses the button a test asked
// for, so that no test ever blocks on a modal box.
//
//   DialogWatcher boxes;                 // starts watching
//   boxes.QueueAnswer(IDNO);             // the next box gets No
//   RunSomething();                      // shows boxes; they are answered
//   ASSERT_TRUE(boxes.WaitForCount(1));
//   EXPECT_EQ(boxes.Seen()[0].text, "no UNLHA32.DLL");
//
// Boxes beyond the queued answers get the default answer: OK if the box has
// it, else Cancel, else No. Texts are the bytes the ANSI API returns (code page
// 932 under the tests' locale); see Sjis() in text.h for Japanese literals.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

struct SeenDialog {
    HWND hwnd = NULL;
    HWND owner = NULL;      // the window that owns the box (NULL: none)
    std::string caption;
    std::string text;       // a message box's text; else the static texts, one per line
    LONG style = 0;         // window style
    UINT icon = 0;          // MB_ICONERROR, MB_ICONQUESTION, MB_ICONWARNING, MB_ICONINFORMATION or 0
    std::vector<int> buttons;  // ids of the push buttons present (IDOK, IDCANCEL, IDYES, ...)
    int answer = 0;         // the button the watcher pressed (0: none)

    bool HasButton(int id) const;
};

class DialogWatcher {
public:
    // An action runs on the watcher thread with the dialog and what was read
    // from it, and returns the id of the button to press (0: press none).
    typedef std::function<int(HWND, const SeenDialog&)> Action;

    DialogWatcher();
    ~DialogWatcher();

    void QueueAnswer(int buttonId);
    void QueueAction(Action action);
    void SetDefaultAnswer(int buttonId);  // 0: OK, else Cancel, else No
    // Dialogs for which pred holds are recorded but never pressed and take no
    // queued answer (e.g. a progress window that closes by itself).
    void LeaveAlone(std::function<bool(const SeenDialog&)> pred);

    std::vector<SeenDialog> Seen() const;
    size_t Count() const;
    void Clear();  // forgets what was seen and any queued answers
    // Polls until at least n dialogs have been seen; false at the deadline.
    bool WaitForCount(size_t n, DWORD timeoutMs = 10000) const;

private:
    void Run();
    void Handle(HWND hwnd);

    mutable std::mutex m_lock;
    std::vector<SeenDialog> m_seen;
    std::vector<Action> m_queue;
    std::set<HWND> m_handled;
    int m_defaultAnswer = 0;
    std::function<bool(const SeenDialog&)> m_leaveAlone;
    HANDLE m_stop;
    std::thread m_thread;
};

// Polls pred until it holds or the deadline passes, pumping the calling
// thread's messages meanwhile (so posted commands and timers are processed).
bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs = 10000);
