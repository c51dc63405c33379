// The document's archive tested, and one entry's stored facts: both read the
// archive afresh through the library and change nothing.
#include "app/archive_doc.h"

#include "engine/entry_properties.h"
#include "engine/test_report.h"

BOOL CArchiveDoc::HasEntries() const { return m_pArchive != NULL && m_items.GetSize() > 0; }

BOOL CArchiveDoc::TestEntries(const CStringArray& names, CTestReport* pReport) {
    return m_pArchive != NULL && m_pArchive->Test(names, pReport);
}

BOOL CArchiveDoc::GetEntryProperties(LPCSTR pszFullPath, CEntryProperties* pProps) {
    return m_pArchive != NULL && m_pArchive->GetProperties(pszFullPath, pProps);
}
