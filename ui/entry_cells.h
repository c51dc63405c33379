// The texts a file-list row shows for an archive entry, and the ratio that
// both the ratio cell and the ratio sort use.
#pragma once

#include "engine/arcfile_item.h"
#include "framework/cstring.h"

// Digits grouped in threes from the right with ",": 1234567 -> 1,234,567.
CString GroupThousands(const CString& digits);
// A size in kilobytes, rounded up, grouped, with "KB": 1025 -> 2KB.
CString KilobyteText(ULONGLONG size);
// Compressed size x 100 / uncompressed size, truncated, without wrap-around
// (the product of two 32-bit sizes needs more than 32 bits). FALSE when the
// uncompressed size is 0: the entry has no ratio.
BOOL EntryRatio(const CArcfileItem& item, ULONGLONG* pRatio);
// "40%", or nothing for an entry without ratio.
CString RatioText(const CArcfileItem& item);
// Date text, a space, time text.
CString DateTimeText(const CArcfileItem& item);
