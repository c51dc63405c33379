// CArchiveDoc: the open archive. It owns the archive object and the entries of
// the last listing, and lists an archive when the framework opens a file.
#pragma once

#include "engine/arcfile.h"
#include "framework/collections.h"
#include "framework/cstring.h"
#include "framework/document.h"

class CCmdUI;
class CFileView;

class CArchiveDoc : public CDocument {
    DECLARE_DYNCREATE(CArchiveDoc)
public:
    CArchiveDoc();
    ~CArchiveDoc() override;

    void Serialize(CArchive& ar) override {}  // nothing is ever saved
    void DeleteContents() override;
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;

    // Lists the archive into m_items and tells the views. A path that does not
    // exist yet gives an empty archive that the first command creates.
    BOOL Load(LPCSTR lpszPathName);
    void DeleteItems();
    // Asks for the name of a new archive and loads it; FALSE on Cancel or failure.
    BOOL PromptNewArchive();
    // The file dialogs' filter for archives: .lzh and .lha, self-extracting
    // .exe, and all files.
    static const char kArchiveFilter[];

    CFileView* FindFileView();

    // Files dropped on the main window, after the user agreed to add them.
    void AddDroppedFiles(const CStringArray& paths);

    BOOL m_bDirUnpack;     // extract with directories
    CObArray m_items;      // CArcfileItem*, owned, in listing order
    CStringArray m_folders;  // relative paths of the archive's folder entries
    CArcfile* m_pArchive;  // NULL when no archive is open

protected:
    // The archive the add commands work on, asking for a new one when the
    // document is untitled; FALSE when there is none.
    BOOL GetArchiveToWorkOn();
    void DropArchive();
    void FreeItems();

    // Commands on the archive as a whole (archive_doc_commands.cpp).
    afx_msg void OnDirUnpack();
    afx_msg void OnUpdateDirUnpack(CCmdUI* pCmdUI);
    afx_msg void OnCompress();
    afx_msg void OnCopyList();
    afx_msg void OnUpdateCopyList(CCmdUI* pCmdUI);
    afx_msg void OnMakeSFX();
    afx_msg void OnCompressDir();
    afx_msg void OnViewList();
    afx_msg void OnUpdateViewList(CCmdUI* pCmdUI);
    afx_msg void OnViewDetail();
    afx_msg void OnUpdateViewDetail(CCmdUI* pCmdUI);
    // Hands a view-mode command to the file list.
    void PassToFileView(UINT nID);

    DECLARE_MESSAGE_MAP()
};
