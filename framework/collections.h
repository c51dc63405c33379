// The collection classes: CObArray (pointers, not owned), CStringArray and
// CMapStringToString (exact, case-sensitive keys).
#pragma once

#include "framework/cstring.h"
#include "framework/object.h"

#include <map>
#include <string>
#include <vector>

// Iteration position of a map; NULL ends the walk.
typedef void* POSITION;

template <class T>
class CArrayOf : public CObject {
public:
    int GetSize() const { return (int)m_items.size(); }
    int GetCount() const { return (int)m_items.size(); }
    int GetUpperBound() const { return (int)m_items.size() - 1; }
    BOOL IsEmpty() const { return m_items.empty(); }
    void SetSize(int nNewSize) { m_items.resize(nNewSize > 0 ? nNewSize : 0); }

    const T& GetAt(int i) const { return m_items[i]; }
    void SetAt(int i, const T& v) { m_items[i] = v; }
    T& ElementAt(int i) { return m_items[i]; }
    T& operator[](int i) { return m_items[i]; }
    const T& operator[](int i) const { return m_items[i]; }

    int Add(const T& v) { m_items.push_back(v); return (int)m_items.size() - 1; }
    // Grows the array when i is past its end, as MFC does.
    void SetAtGrow(int i, const T& v) {
        if (i >= GetSize()) SetSize(i + 1);
        m_items[i] = v;
    }
    void InsertAt(int i, const T& v, int nCount = 1) {
        if (i > GetSize()) SetSize(i);
        m_items.insert(m_items.begin() + i, nCount, v);
    }
    void RemoveAt(int i, int nCount = 1) {
        m_items.erase(m_items.begin() + i, m_items.begin() + i + nCount);
    }
    void RemoveAll() { m_items.clear(); }

private:
    std::vector<T> m_items;
};

class CObArray : public CArrayOf<CObject*> {
    DECLARE_DYNAMIC(CObArray)
};

class CStringArray : public CArrayOf<CString> {
    DECLARE_DYNAMIC(CStringArray)
};

class CMapStringToString : public CObject {
    DECLARE_DYNAMIC(CMapStringToString)
public:
    explicit CMapStringToString(int nBlockSize = 10) { (void)nBlockSize; }

    int GetCount() const { return (int)m_map.size(); }
    BOOL IsEmpty() const { return m_map.empty(); }
    BOOL Lookup(LPCSTR key, CString& rValue) const;
    void SetAt(LPCSTR key, LPCSTR newValue) { m_map[key] = newValue; }
    CString& operator[](LPCSTR key) { return m_map[key]; }
    BOOL RemoveKey(LPCSTR key) { return m_map.erase(key) != 0; }
    void RemoveAll() { m_map.clear(); }

    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const;

private:
    std::map<std::string, CString> m_map;
};
