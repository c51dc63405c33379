// The archive object that works through the archiver library unlha32.dll:
// listing (lha.cpp), filling entries (lha_item.cpp) and the command lines of
// every archive operation (lha_operations.cpp).
#pragma once

#include "engine/arcfile.h"
#include "engine/unlha_library.h"

#include <memory>
#include <time.h>

class CLha : public CArcfile {
    DECLARE_DYNAMIC(CLha)
public:
    // An empty path is allowed: such an object only shows the library's
    // settings dialog.
    explicit CLha(LPCSTR pszArchive);
    // Ends a listing the owner left open.
    virtual ~CLha();

    int FindNext(CArcfileItem* pItem) override;
    int Open(CArcfileItem* pItem) override;
    void Close() override;
    BOOL CheckArchive() override;
    BOOL MakeSFX(int nType, BOOL bReplace = FALSE) override;
    BOOL ExtractFiles(const CStringArray& names, LPCSTR pszDestDir, BOOL bWithDirs) override;
    BOOL Extract(LPCSTR pszNames, LPCSTR pszDestDir, BOOL bWithDirs) override;
    BOOL ExtractDirectory(LPCSTR pszDir, LPCSTR pszDestDir) override;
    BOOL AddFiles(const CStringArray& files, BOOL bMove) override;
    BOOL AddDirectory(LPCSTR pszDir, BOOL bWithDirs, BOOL bMove) override;
    BOOL Delete(const CStringArray& names) override;
    BOOL List(CString& strOut) override;
    BOOL Rename(LPCSTR pszFullPath) override;
    BOOL Execute(LPCSTR pszCommandLine) override;
    BOOL Test(const CStringArray& names, CTestReport* pReport) override;
    BOOL GetProperties(LPCSTR pszFullPath, CEntryProperties* pProps) override;

    void SetItem(CArcfileItem* pItem, UNLHA_ENTRY_RECORD* pRecord);
    void SetSizes(CArcfileItem* pItem, const UNLHA_ENTRY_RECORD* pRecord);
    void SetTime(CArcfileItem* pItem, const UNLHA_ENTRY_RECORD* pRecord);
    // nWhich 0 shows the library's settings in mode 1, anything else mode 2.
    void ConfigDialog(int nWhich);

    HARC m_hArc;                              // open archive during a listing
    std::unique_ptr<CUnlhaLibrary> m_pLibrary;  // held from Open to Close

private:
    BOOL ExecuteWithFileList(const CStringArray& names, LPCSTR pszOption);
    BOOL TestBatch(LPCSTR pszNames, CTestReport* pReport);
};

// Unpacks an MS-DOS date (high word) and time (low word) into calendar fields.
void DosDateTimeToTm(DWORD dwDosDateTime, struct tm* pTm);
