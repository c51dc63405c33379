// Message maps: a static table per class that names the messages, commands
// and notifications the class handles. Each entry carries a small thunk that
// unpacks the message and calls the handler with its proper signature, so a
// handler is an ordinary typed member function.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CCmdTarget;
class CCmdUI;

// Thunk of one entry: nID is the command or control id, pExtra a CCmdUI* for
// update handlers or an LRESULT* for notifications.
typedef LRESULT (*AFX_PTHUNK)(CCmdTarget* pTarget, UINT nID, WPARAM wParam, LPARAM lParam,
                              void* pExtra);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;   // WM_COMMAND, WM_NOTIFY, a reflected message or a window message
    UINT nCode;      // CN_COMMAND/CN_UPDATE_COMMAND_UI or the notification code
    UINT nID;        // first control or command id
    UINT nLastID;    // last id of a range
    AFX_PTHUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
// A notification code packed with its message, as OnCmdMsg takes it.
#define CN_NOTIFY(code) MAKELONG((code), WM_NOTIFY)

// Messages a parent hands back to the control that raised them.
#define WM_REFLECT_BASE 0xBC00
// Private framework messages.
#define WM_INITIALUPDATE 0x0364
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_SETMESSAGESTRING 0x0362

#define afx_msg

#define DECLARE_MESSAGE_MAP()                              \
protected:                                                 \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();   \
    virtual const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                        \
        typedef theClass ThisClass;                                                 \
        typedef baseClass TheBaseClass;                                             \
        static_assert(sizeof(ThisClass) > 0, "complete class");                     \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                               \
        {0, 0, 0, 0, nullptr}};                                         \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, \
                                              &_messageEntries[0]};     \
        return &messageMap;                                             \
    }

#define AFX_THUNK(...)                                                               \
    [](CCmdTarget* _p, UINT _id, WPARAM wParam, LPARAM lParam, void* _x) -> LRESULT { \
        ThisClass* _t = static_cast<ThisClass*>(_p);                                 \
        (void)_t; (void)_id; (void)wParam; (void)lParam; (void)_x;                   \
        __VA_ARGS__                                                                  \
    }

// Commands and their update handlers.
#define ON_COMMAND(id, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AFX_THUNK(_t->fn(); return TRUE;)},
#define ON_COMMAND_RANGE(id, idLast, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), AFX_THUNK(_t->fn(_id); return TRUE;)},
// Handler returns BOOL: FALSE passes the command on along the route.
#define ON_COMMAND_EX(id, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AFX_THUNK(return _t->fn(_id);)},
#define ON_UPDATE_COMMAND_UI(id, fn)                                  \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id),        \
     AFX_THUNK(_t->fn(static_cast<CCmdUI*>(_x)); return TRUE;)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, fn)                    \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast),    \
     AFX_THUNK(_t->fn(static_cast<CCmdUI*>(_x)); return TRUE;)},
// Control notifications sent through WM_COMMAND.
#define ON_CONTROL(code, id, fn) \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), AFX_THUNK(_t->fn(); return TRUE;)},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)

// WM_NOTIFY from a child control: void fn(NMHDR*, LRESULT*).
#define ON_NOTIFY(code, id, fn)                                              \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id),                        \
     AFX_THUNK(_t->fn((NMHDR*)lParam, (LRESULT*)_x); return TRUE;)},
// The control's own handling of a notification it raised.
#define ON_NOTIFY_REFLECT(code, fn)                                          \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(code), 0, 0,                        \
     AFX_THUNK(_t->fn((NMHDR*)lParam, (LRESULT*)_x); return TRUE;)},
// BOOL fn(NMHDR*, LRESULT*): FALSE lets the parent see the notification too.
#define ON_NOTIFY_REFLECT_EX(code, fn)                                       \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(code), 0, 0,                        \
     AFX_THUNK(return _t->fn((NMHDR*)lParam, (LRESULT*)_x);)},
#define ON_CONTROL_REFLECT(code, fn)                                         \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0, AFX_THUNK(_t->fn(); return TRUE;)},

// LRESULT fn(WPARAM, LPARAM).
#define ON_MESSAGE(msg, fn) \
    {(UINT)(msg), 0, 0, 0, AFX_THUNK(return _t->fn(wParam, lParam);)},

// Window messages with unpacked arguments.
#define AFX_ON_WM(msg, ...) {(UINT)(msg), 0, 0, 0, AFX_THUNK(__VA_ARGS__)},
#define ON_WM_CREATE() AFX_ON_WM(WM_CREATE, return (LRESULT)_t->OnCreate((LPCREATESTRUCT)lParam);)
#define ON_WM_DESTROY() AFX_ON_WM(WM_DESTROY, _t->OnDestroy(); return 0;)
#define ON_WM_CLOSE() AFX_ON_WM(WM_CLOSE, _t->OnClose(); return 0;)
#define ON_WM_SIZE() \
    AFX_ON_WM(WM_SIZE, _t->OnSize((UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam)); return 0;)
#define ON_WM_SETFOCUS() AFX_ON_WM(WM_SETFOCUS, _t->OnSetFocus((HWND)wParam); return 0;)
#define ON_WM_KILLFOCUS() AFX_ON_WM(WM_KILLFOCUS, _t->OnKillFocus((HWND)wParam); return 0;)
#define ON_WM_DROPFILES() AFX_ON_WM(WM_DROPFILES, _t->OnDropFiles((HDROP)wParam); return 0;)
#define ON_WM_PAINT() AFX_ON_WM(WM_PAINT, _t->OnPaint(); return 0;)
#define ON_WM_ERASEBKGND() AFX_ON_WM(WM_ERASEBKGND, return _t->OnEraseBkgnd((HDC)wParam);)
#define ON_WM_TIMER() AFX_ON_WM(WM_TIMER, _t->OnTimer((UINT_PTR)wParam); return 0;)
#define ON_WM_MOUSEACTIVATE() \
    AFX_ON_WM(WM_MOUSEACTIVATE, return _t->OnMouseActivate((HWND)wParam, LOWORD(lParam), HIWORD(lParam));)
#define AFX_MOUSE_POINT POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)}
#define ON_WM_LBUTTONDOWN() AFX_ON_WM(WM_LBUTTONDOWN, _t->OnLButtonDown((UINT)wParam, AFX_MOUSE_POINT); return 0;)
#define ON_WM_LBUTTONUP() AFX_ON_WM(WM_LBUTTONUP, _t->OnLButtonUp((UINT)wParam, AFX_MOUSE_POINT); return 0;)
#define ON_WM_LBUTTONDBLCLK() AFX_ON_WM(WM_LBUTTONDBLCLK, _t->OnLButtonDblClk((UINT)wParam, AFX_MOUSE_POINT); return 0;)
#define ON_WM_RBUTTONDOWN() AFX_ON_WM(WM_RBUTTONDOWN, _t->OnRButtonDown((UINT)wParam, AFX_MOUSE_POINT); return 0;)
#define ON_WM_MOUSEMOVE() AFX_ON_WM(WM_MOUSEMOVE, _t->OnMouseMove((UINT)wParam, AFX_MOUSE_POINT); return 0;)
#define ON_WM_KEYDOWN() \
    AFX_ON_WM(WM_KEYDOWN, _t->OnKeyDown((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;)
#define ON_WM_CHAR() AFX_ON_WM(WM_CHAR, _t->OnChar((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;)
#define ON_WM_SETCURSOR() \
    AFX_ON_WM(WM_SETCURSOR, return _t->OnSetCursor((HWND)wParam, LOWORD(lParam), HIWORD(lParam));)
#define ON_WM_CONTEXTMENU() AFX_ON_WM(WM_CONTEXTMENU, _t->OnContextMenu((HWND)wParam, AFX_MOUSE_POINT); return 0;)
#define ON_WM_GETMINMAXINFO() AFX_ON_WM(WM_GETMINMAXINFO, _t->OnGetMinMaxInfo((MINMAXINFO*)lParam); return 0;)
#define ON_WM_SHOWWINDOW() AFX_ON_WM(WM_SHOWWINDOW, _t->OnShowWindow((BOOL)wParam, (UINT)lParam); return 0;)
#define ON_WM_CANCELMODE() AFX_ON_WM(WM_CANCELMODE, _t->OnCancelMode(); return 0;)
#define ON_WM_CAPTURECHANGED() AFX_ON_WM(WM_CAPTURECHANGED, _t->OnCaptureChanged((HWND)lParam); return 0;)
#define ON_WM_NCHITTEST() AFX_ON_WM(WM_NCHITTEST, return _t->OnNcHitTest(AFX_MOUSE_POINT);)
