// CArchiveDoc: the open archive. It owns the archive object, the entries of
// the last listing and the folder the views show, carries out the operations
// on the archive and lists it again after a change. Views learn of changes
// only through its updates.
#pragma once

#include <functional>
#include <memory>

#include "engine/arcfile.h"
#include "framework/collections.h"
#include "framework/cstring.h"
#include "framework/document.h"

class CCmdUI;
class CTestReport;
struct CEntryProperties;

class CArchiveDoc : public CDocument {
    DECLARE_DYNCREATE(CArchiveDoc)
public:
    // The hint value of the document's updates.
    enum Hint {
        kHintListing = 0,     // a new listing (or none): rebuild, show the root
        kHintCurrentDir = 1,  // another folder is shown
        kHintEntriesGone = 2,  // the entries are about to be freed: drop every pointer to them
        kHintKeepPlace = 3     // the archive is read again next: keep the row shown
    };

    CArchiveDoc();
    ~CArchiveDoc() override;

    void Serialize(CArchive& ar) override {}  // nothing is ever saved
    void DeleteContents() override;
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    // Not while a library call runs, which would return into a freed
    // document: the close is asked again when the call is over.
    BOOL CanCloseFrame(CFrameWnd* pFrame) override;

    // Lists the archive into the entries and tells the views. A path that does
    // not exist yet gives an empty archive that the first command creates.
    BOOL Load(LPCSTR lpszPathName);
    // Asks for the name of a new archive and loads it; FALSE on Cancel or failure.
    BOOL PromptNewArchive();
    // The archive the add commands work on, asking for a new one when the
    // document is untitled; FALSE when there is none.
    BOOL GetArchiveToWorkOn();
    // The file dialogs' filter for archives: .lzh and .lha, self-extracting
    // .exe, and all files.
    static const char kArchiveFilter[];

    BOOL HasArchive() const { return m_pArchive != nullptr; }
    const CArcfile* GetArchive() const { return m_pArchive.get(); }
    int GetEntryCount() const { return m_items.GetSize(); }
    const CArcfileItem* GetEntry(int i) const { return static_cast<const CArcfileItem*>(m_items[i]); }
    const CStringArray& GetFolders() const { return m_folders; }  // folder entries' paths

    // The folder the file list shows, a relative path (empty: the root).
    const CString& GetCurrentDir() const { return m_strCurrentDir; }
    void SetCurrentDir(LPCSTR lpszDir, CView* pSender = NULL);
    // TRUE when the listing holds the folder (empty: the root), as an entry of
    // its own or above an entry.
    BOOL HoldsFolder(const CString& strDir) const;
    // Lists the archive again from disk, keeping the folder and row shown.
    void Reread();

    // Operations on the archive; FALSE without an archive or when the library
    // failed (it has said why). Changes are listed again afterwards.
    BOOL ExtractEntries(const CStringArray& fullPaths, LPCSTR lpszDestDir, BOOL bWithDirs);
    BOOL ExtractFolder(LPCSTR lpszFolder, LPCSTR lpszDestDir);
    BOOL GetListing(CString& strText);
    void DeleteEntries(const CStringArray& fullPaths);
    void RenameEntry(LPCSTR lpszFullPath);
    void AddFiles(const CStringArray& paths);
    void AddFolder(LPCSTR lpszDir, BOOL bWithDirs, BOOL bDeleteAfter);
    // The program beside the archive (bReplace: the user agreed to replace
    // one of that name), opened when made.
    BOOL MakeSelfExtractor(int nType, BOOL bReplace);

    BOOL m_bDirUnpack;  // extract with directories

    // Testing entries and reading one's facts (archive_doc_check.cpp).
    BOOL HasEntries() const;
    BOOL TestEntries(const CStringArray& names, CTestReport* pReport);
    BOOL GetEntryProperties(LPCSTR pszFullPath, CEntryProperties* pProps);

private:
    // One call into the library. lpszChanged: the file to show afterwards
    // (NULL: none), also after a failure unless bEvenOnFailure is FALSE.
    BOOL CallLibrary(const std::function<BOOL(CArcfile&)>& call, LPCSTR lpszChanged,
                     BOOL bEvenOnFailure = TRUE);
    void ShowAfresh(const CString& strPath, BOOL bKeepRow = FALSE);
    void FreeItems();

    CObArray m_items;        // CArcfileItem*, owned, in listing order
    CStringArray m_folders;  // relative paths of the archive's folder entries
    // Shared with a library call that runs, which may handle messages (the
    // progress window's) that drop it: it goes when the call returns.
    std::shared_ptr<CArcfile> m_pArchive;  // none when no archive is open
    CString m_strCurrentDir;
    int m_nCallsRunning = 0;   // the listing of a change waits for the outermost
    CString m_strChangedPath;  // what to list then
    HWND m_hCloseWaiting = NULL;  // a frame whose close came during a call

protected:
    // Commands on the archive as a whole (archive_doc_commands.cpp).
    afx_msg void OnDirUnpack();
    afx_msg void OnUpdateDirUnpack(CCmdUI* pCmdUI);
    afx_msg void OnCopyList();
    afx_msg void OnUpdateCopyList(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};
