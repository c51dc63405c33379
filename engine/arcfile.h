// The archive object: lists an archive entry by entry and carries out every
// operation on it. CLha is the implementation through the archiver library.
#pragma once

#include "engine/arcfile_item.h"
#include "framework/afx.h"

// Status of the last listing step.
enum {
    ARC_ENTRY = 0,       // an entry was delivered
    ARC_END = 1,         // no further entry
    ARC_NOT_OPENED = 3,  // library missing, or it refused the file
    ARC_EMPTY = 5,       // opened, but the first search found nothing
    ARC_SKIP = 6,        // GetNext asks again without returning
    ARC_BUSY = 7,        // the library is running another operation
};

// Size of the buffer that receives each command's text output.
const int ARC_OUTPUT_SIZE = 30000;

class CTestReport;
struct CEntryProperties;

class CArcfile : public CObject {
    DECLARE_DYNAMIC(CArcfile)
public:
    explicit CArcfile(LPCSTR pszArchive);
    virtual ~CArcfile();

    virtual int FindNext(CArcfileItem* pItem);
    virtual BOOL IsReady();
    virtual int GetStatus();
    virtual DWORD GetArchiveSize();
    virtual int Open(CArcfileItem* pItem);
    virtual int GetNext(CArcfileItem* pItem);
    virtual void Close();
    virtual BOOL CheckArchive();
    // bReplace: the user agreed to replace an existing program of that name.
    virtual BOOL MakeSFX(int nType, BOOL bReplace = FALSE) = 0;
    virtual BOOL ExtractFiles(const CStringArray& names, LPCSTR pszDestDir, BOOL bWithDirs) = 0;
    virtual BOOL Extract(LPCSTR pszNames, LPCSTR pszDestDir, BOOL bWithDirs) = 0;
    virtual BOOL ExtractDirectory(LPCSTR pszDir, LPCSTR pszDestDir) = 0;
    virtual BOOL AddFiles(const CStringArray& files, BOOL bMove) = 0;
    virtual BOOL AddDirectory(LPCSTR pszDir, BOOL bWithDirs, BOOL bMove) = 0;
    virtual BOOL Delete(const CStringArray& names) = 0;
    virtual BOOL List(CString& strOut) = 0;
    virtual BOOL Rename(LPCSTR pszFullPath) = 0;
    virtual BOOL Execute(LPCSTR pszCommandLine) = 0;
    // Tests the named entries (all for none) and adds the findings to the
    // report; FALSE when the library said why it could not, or was stopped.
    virtual BOOL Test(const CStringArray& names, CTestReport* pReport) = 0;
    // The stored facts of the file entry at a full path; FALSE (said) when
    // the archive no longer holds it.
    virtual BOOL GetProperties(LPCSTR pszFullPath, CEntryProperties* pProps) = 0;

    int m_nStatus;
    int m_nSpare;
    DWORD m_dwArchiveSize;    // cached size; 0 = none
    HFILE m_hFile;            // for a back end that reads the file itself
    CString m_strArchive;     // inserted into command lines unquoted
    char* m_pOutput;          // ARC_OUTPUT_SIZE bytes: the last command's output
};
