// Run-time class records of the collections and the map's lookups and walk.
#include "framework/collections.h"

IMPLEMENT_DYNAMIC(CObArray, CObject)
IMPLEMENT_DYNAMIC(CStringArray, CObject)
IMPLEMENT_DYNAMIC(CMapStringToString, CObject)

BOOL CMapStringToString::Lookup(LPCSTR key, CString& rValue) const {
    auto it = m_map.find(key);
    if (it == m_map.end()) return FALSE;
    rValue = it->second;
    return TRUE;
}

// A position is the address of the next element's key; the walk finds the
// element again by key, so a position stays valid while that key stays.
POSITION CMapStringToString::GetStartPosition() const {
    return m_map.empty() ? NULL : (POSITION)&m_map.begin()->first;
}

void CMapStringToString::GetNextAssoc(POSITION& rNextPosition, CString& rKey,
                                      CString& rValue) const {
    auto it = m_map.find(*(const std::string*)rNextPosition);
    rKey = it->first.c_str();
    rValue = it->second;
    ++it;
    rNextPosition = it == m_map.end() ? NULL : (POSITION)&it->first;
}
