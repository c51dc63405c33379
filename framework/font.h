// CFont: owns a GDI font.
#pragma once

#include <windows.h>

#include "framework/object.h"

class CFont : public CObject {
public:
    CFont() : m_hObject(NULL) {}
    ~CFont() override { DeleteObject(); }

    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont) {
        DeleteObject();
        m_hObject = ::CreateFontIndirectA(lpLogFont);
        return m_hObject != NULL;
    }
    int GetLogFont(LOGFONTA* pLogFont) const {
        return ::GetObjectA(m_hObject, sizeof(LOGFONTA), pLogFont);
    }
    BOOL DeleteObject() {
        if (m_hObject == NULL) return FALSE;
        ::DeleteObject(m_hObject);
        m_hObject = NULL;
        return TRUE;
    }
    operator HFONT() const { return m_hObject; }

    HFONT m_hObject;
};
