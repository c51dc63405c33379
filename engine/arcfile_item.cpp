// Archive entries.
#include "engine/arcfile_item.h"

#include "framework/path_parts.h"

IMPLEMENT_DYNAMIC(CArcfileItem, CObject)

CArcfileItem::CArcfileItem()
    : m_dwCompressedSize(0), m_dwOriginalSize(0), m_dwCompressedSizeHigh(0),
      m_dwOriginalSizeHigh(0), m_dwDosDateTime(0), m_nSecond(0) {}

CArcfileItem::~CArcfileItem() {}

CString CArcfileItem::GetFullPath() const { return WithTrailingBackslash(m_strPath) + m_strName; }

ULONGLONG CArcfileItem::GetCompressedSize() const {
    return ((ULONGLONG)m_dwCompressedSizeHigh << 32) | m_dwCompressedSize;
}

ULONGLONG CArcfileItem::GetOriginalSize() const {
    return ((ULONGLONG)m_dwOriginalSizeHigh << 32) | m_dwOriginalSize;
}

// Date and time down to the minute (the packed value without its two-second
// field), then the exact second.
ULONGLONG CArcfileItem::GetTimeValue() const {
    return ((ULONGLONG)(m_dwDosDateTime >> 5) << 6) | (DWORD)(m_nSecond & 63);
}
