// CCmdUI: the state of one user-interface item (menu item or toolbar button)
// as an update handler sets it: enabled, checked, radio mark, text.
#pragma once

#include <windows.h>

class CCmdTarget;
class CToolBar;

class CCmdUI {
public:
    CCmdUI();
    virtual ~CCmdUI() {}

    UINT m_nID;
    UINT m_nIndex;
    HMENU m_hMenu;           // the menu item's menu, or NULL
    CToolBar* m_pToolBar;    // the button's bar, or NULL
    BOOL m_bEnableChanged;   // an update handler called Enable
    BOOL m_bContinueRouting;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 off, 1 checked
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's route for an update handler; when there is none and
    // bDisableIfNoHandler is set, the item is disabled unless some target on
    // the route handles the command itself.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

private:
    void SetToolBarCheck(bool bChecked);
};

// Only records what a handler would set: used to test whether a command is
// enabled before it runs.
class CTestCmdUI : public CCmdUI {
public:
    CTestCmdUI() : m_bEnabled(TRUE), m_nCheck(0) {}
    BOOL m_bEnabled;
    int m_nCheck;
    void Enable(BOOL bOn) override { m_bEnabled = bOn; m_bEnableChanged = TRUE; }
    void SetCheck(int nCheck) override { m_nCheck = nCheck; }
    void SetRadio(BOOL bOn) override { m_nCheck = bOn ? 1 : 0; }
    void SetText(LPCSTR) override {}
};
