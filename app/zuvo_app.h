// CZuvoApp: the application object and the home of program-wide state: the
// temporary copies of the run, the cache of file type names and the one
// MiniViewer window.
#pragma once

#include <windows.h>

#include "app/temp_copies.h"
#include "framework/collections.h"
#include "framework/cstring.h"
#include "framework/winapp.h"

class CMiniViewFrame;

class CZuvoApp : public CWinApp {
public:
    CZuvoApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Offers changed copies back once asked to when idle.
    BOOL OnIdle(LONG lCount) override;

    // The MiniViewer window, created on first use; forgotten when it closes.
    CMiniViewFrame* GetMiniViewer();
    void ForgetMiniViewer() { m_pMiniViewer = NULL; }

    // Offers the copies changed in their programs back into their archives,
    // and lists the archive shown again when one went into it.
    void OfferChangedCopies();

    // File New, then open the path: shows an archive afresh after a change.
    void Reopen(CString strPath);

    // File Open offers the kinds of archive the library reads.
    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog) override;
    // A copy in the temporary directory (an archive opened from inside
    // another) is gone at exit: it never becomes a recent file.
    void AddToRecentFileList(LPCSTR lpszPathName) override;

    BOOL IsWin95() const { return m_bWin95; }

    // Display name of a file's type: the registered description of its
    // extension, else the extension in capitals and " ﾌｧｲﾙ"; empty without an
    // extension. Answers are kept for the whole run (file_type_names.cpp).
    CString GetFileTypeName(LPCSTR lpszFileName);
    CString LookupRegisteredTypeName(LPCSTR lpszExt);

    // Commands.
    void OnAppAbout();
    void OnAppExit();
    void OnArchiverSettings();

    CTempCopies m_tempCopies;   // offered back when changed, deleted at exit
    BOOL m_bOfferCopiesWhenIdle = FALSE;  // set when the program is activated
    CMapStringToString m_typeNames{10};  // lower-cased extension -> type name
    CMiniViewFrame* m_pMiniViewer = NULL;
    BOOL m_bWin95 = FALSE;

    DECLARE_MESSAGE_MAP()
};

inline CZuvoApp* ZuvoApp() { return static_cast<CZuvoApp*>(AfxGetApp()); }
