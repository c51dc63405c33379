// Temporary-copy records.
#include "engine/temp_file_set.h"

IMPLEMENT_DYNAMIC(CTempFileSet, CObject)

CTempFileSet::CTempFileSet(HINSTANCE hInstance, LPCSTR pszTempPath)
    : m_strTempPath(pszTempPath), m_hInstance(hInstance) {}

CTempFileSet::~CTempFileSet() {}
