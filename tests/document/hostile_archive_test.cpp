// Damaged and hostile archives opened by the document and extracted through
// its archive object, with the real unlha32.dll: every case ends in a box the
// user can read, the process goes on, and nothing lands outside the chosen
// folder.
#if defined(ZUVO_REAL_UNLHA32_DIR)

#include "app/archive_doc.h"

#include "engine/arcfile_item.h"
#include "engine/lha.h"
#include "res/resource.h"
#include "tests/fake_unlha32/fake_control.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <vector>

namespace {

uint16_t Crc16(const std::string& data) {
    uint16_t crc = 0;
    for (unsigned char c : data) {
        crc ^= c;
        for (int i = 0; i < 8; ++i) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

void Put(std::string* out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back((char)(value >> (8 * i)));
}

struct Entry {
    std::string path;  // '/' separators, as stored
    std::string data;
    bool badCrc = false;
    uint64_t declaredSize = 0;  // original size to declare instead of the data's
};

// A level 2 header with a -lh0- body; directory and name in their own
// extended headers, sizes beyond 32 bits in extended header 0x42.
std::string Level2(const Entry& e) {
    size_t slash = e.path.rfind('/');
    std::string dir = slash == std::string::npos ? "" : e.path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? e.path : e.path.substr(slash + 1);
    for (char& c : dir)
        if (c == '/') c = (char)0xFF;
    uint64_t original = e.declaredSize ? e.declaredSize : e.data.size();
    std::vector<std::string> ext;
    if (!dir.empty()) ext.push_back(std::string(1, '\x02') + dir);
    ext.push_back(std::string(1, '\x01') + name);
    if (original > 0xFFFFFFFFu) {
        std::string sizes(1, '\x42');
        Put(&sizes, e.data.size(), 8);
        Put(&sizes, original, 8);
        ext.push_back(sizes);
    }
    std::string h;
    h += !e.path.empty() && e.path.back() == '/' ? "-lhd-" : "-lh0-";
    Put(&h, e.data.size(), 4);
    Put(&h, original, 4);
    Put(&h, 1700000000, 4);
    h += '\x20';
    h += '\x02';
    Put(&h, Crc16(e.data) ^ (e.badCrc ? 0x5555 : 0), 2);
    h += 'U';
    Put(&h, ext[0].size() + 2, 2);
    for (size_t i = 0; i < ext.size(); ++i) {
        h += ext[i];
        Put(&h, i + 1 < ext.size() ? ext[i + 1].size() + 2 : 0, 2);
    }
    size_t total = h.size() + 2;
    if ((total & 0xFF) == 0) {
        h += '\0';
        ++total;
    }
    std::string header;
    Put(&header, total, 2);
    return header + h;
}

std::string Archive(const std::vector<Entry>& entries) {
    std::string out;
    for (const Entry& e : entries) out += Level2(e) + e.data;
    return out + '\0';
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(h);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every file below `dir` (relative paths, '\' separators).
void FilesBelow(const std::string& dir, const std::string& prefix, std::vector<std::string>* out) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            FilesBelow(dir + "\\" + name, prefix + name + "\\", out);
        else
            out->push_back(prefix + name);
    } while (FindNextFileA(h, &found));
    FindClose(h);
}

std::string ItemNames(CArchiveDoc& doc) {
    std::string names;
    for (int i = 0; i < doc.GetEntryCount(); ++i)
        names += std::string(doc.GetEntry(i)->GetFullPath()) + "|";
    return names;
}

class HostileArchives : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetModuleHandleA("unlha32.dll"), nullptr) << "a scripted library is still loaded";
        SetDllDirectoryA(ZUVO_REAL_UNLHA32_DIR);
        char dir[MAX_PATH];
        GetCurrentDirectoryA(sizeof dir, dir);
        m_work = std::string(dir) + "\\hostile_work";
        // A fresh work folder: outside\ stays empty, dest\ is the chosen one.
        SHFILEOPSTRUCTA op = {};
        std::string from = m_work + '\0';
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        SHFileOperationA(&op);
        CreateDirectoryA(m_work.c_str(), NULL);
        CreateDirectoryA((m_work + "\\outside").c_str(), NULL);
        CreateDirectoryA((m_work + "\\outside\\dest").c_str(), NULL);
        m_dest = m_work + "\\outside\\dest";
        // The library's progress window closes by itself; its question
        // about replacing a file (Yes, No, Cancel) is answered.
        m_boxes.LeaveAlone([](const SeenDialog& d) {
            return d.buttons.empty() || (d.HasButton(IDCANCEL) && !d.HasButton(IDOK) && !d.HasButton(IDYES));
        });
    }
    void TearDown() override { HideUnlha32(); }

    std::string Write(const char* name, const std::string& bytes) {
        std::string path = m_work + "\\" + name;
        WriteFileBytes(path, bytes);
        return path;
    }

    // Extracts every entry of the document, keeping folders, into dest\.
    BOOL ExtractAll(CArchiveDoc& doc) {
        CStringArray names;
        for (int i = 0; i < doc.GetEntryCount(); ++i)
            names.Add(doc.GetEntry(i)->GetFullPath());
        return doc.ExtractEntries(names, m_dest.c_str(), TRUE);
    }

    std::vector<std::string> Outside() {
        std::vector<std::string> files;
        FilesBelow(m_work + "\\outside", "", &files);
        std::vector<std::string> strays;
        for (const std::string& f : files)
            if (f.compare(0, 5, "dest\\") != 0) strays.push_back(f);
        return strays;
    }

    std::string m_work, m_dest;
    DialogWatcher m_boxes;
};

TEST_F(HostileArchives, DamagedFilesOpenWithWhatIsReadableAndTheDamageIsNamed) {
    Entry a{"A.TXT", std::string(3000, 'a')}, b{"DOC/B.TXT", std::string(3000, 'b')};
    std::string good = Archive({a, b});
    size_t bData = Level2(a).size() + 3000 + Level2(b).size();  // where B's data begins
    std::string folders = Level2({"ONE/"}) + Level2({"ONE/TWO/"}) + Level2({"THREE/"});
    CString notLzh;
    notLzh.LoadString(IDS_NOT_LZH);

    struct Case {
        const char* file;
        std::string bytes;
        bool opens;
        const char* items;
        int folders;
        // What the box at open names: the place, and header or data.
        std::vector<std::string> said;
    } cases[] = {
        {"NOTLZH.LZH", "This is a letter, not an archive.\r\n", false, "", 0, {}},
        {"EMPTY.LZH", "", false, "", 0, {}},
        // A whole header over data cut short: listed, and its data named.
        {"CUT_IN_DATA.LZH", good.substr(0, good.size() - 1000), true, "A.TXT|DOC\\B.TXT|", 0,
         {"DOC\\B.TXT", std::to_string(bData), Sjis("データ")}},
        {"ONE_CUT.LZH", Level2(a) + a.data.substr(0, 1000), true, "A.TXT|", 0, // nothing to rescue
         {"A.TXT", std::to_string(Level2(a).size()), Sjis("データ")}},
        {"CUT_IN_HEADER.LZH", good.substr(0, Level2(a).size() + 3000 + 10), true, "A.TXT|", 0,
         {"A.TXT", std::to_string(Level2(a).size() + 3000), Sjis("ヘッダ")}},
        // Damage right after three folder entries: the folders are there.
        {"FOLDERS.LZH", folders + std::string(30, 'A'), true, "", 3,
         {"THREE", std::to_string(folders.size()), Sjis("ヘッダ")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        m_boxes.Clear();
        CArchiveDoc doc;
        std::string path = Write(c.file, c.bytes);
        BOOL opened = doc.Load(path.c_str());
        EXPECT_EQ(opened, c.opens);
        EXPECT_EQ(ItemNames(doc), c.items);
        EXPECT_EQ(doc.GetFolders().GetSize(), c.folders);
        // Not an archive: the document's box. Damaged: the library's, at
        // open, naming the archive, the place and what is damaged.
        ASSERT_TRUE(m_boxes.WaitForCount(1));
        std::string text = m_boxes.Seen()[0].text;
        if (c.opens) {
            EXPECT_NE(text.find(c.file), std::string::npos) << Utf8(text);
            for (const std::string& part : c.said) EXPECT_NE(text.find(part), std::string::npos) << Utf8(part) << " in " << Utf8(text);
        } else {
            EXPECT_EQ(text, std::string(notLzh));
        }
        // What could be read is still there to rescue.
        if (c.opens && doc.GetEntryCount() > 0) {
            m_boxes.Clear();
            DeleteFileA((m_dest + "\\A.TXT").c_str());  // the case before rescued it too
            EXPECT_FALSE(ExtractAll(doc));
            ASSERT_TRUE(m_boxes.WaitForCount(1));
            EXPECT_NE(m_boxes.Seen()[0].text.find(c.file), std::string::npos) << Utf8(m_boxes.Seen()[0].text);
            std::vector<std::string> files;
            FilesBelow(m_dest, "", &files);
            EXPECT_EQ(files, std::string(c.file) == "ONE_CUT.LZH" ? std::vector<std::string>{}
                                                                   : std::vector<std::string>{"A.TXT"});
            DeleteFileA((m_dest + "\\A.TXT").c_str());
        }
        EXPECT_EQ(GetModuleHandleA("unlha32.dll"), nullptr) << "the library stayed loaded";
    }

    // A CRC error: the listing is whole, extraction fails with the library's
    // box naming the entry and where its data lies, and leaves no damaged
    // file behind.
    m_boxes.Clear();
    CArchiveDoc doc;
    Entry bad{"DOC/BAD.TXT", "bad data", true};
    ASSERT_TRUE(doc.Load(Write("CRC.LZH", Archive({bad})).c_str()));
    EXPECT_EQ(ItemNames(doc), "DOC\\BAD.TXT|");
    EXPECT_FALSE(ExtractAll(doc));
    ASSERT_TRUE(m_boxes.WaitForCount(1));
    std::string text = m_boxes.Seen().back().text;
    for (const std::string& part : {std::string("DOC\\BAD.TXT"), std::to_string(Level2(bad).size()), Sjis("データ")})
        EXPECT_NE(text.find(part), std::string::npos) << Utf8(part) << " in " << Utf8(text);
    EXPECT_FALSE(Exists(m_dest + "\\DOC\\BAD.TXT"));
}

TEST_F(HostileArchives, HostileNamesStayInsideTheChosenFolder) {
    std::string longName(300, 'L');
    std::string veryLong = std::string(200, 'D') + "/" + std::string(200, 'E') + "/" + std::string(200, 'F') + ".TXT";
    std::vector<Entry> entries = {
        {"../../EVIL1.TXT", "up"},
        {"C:/EVIL2.TXT", "drive"},
        {"/EVIL3.TXT", "root"},
        {"SUB/../../EVIL4.TXT", "up from a folder"},
        {"DUP.TXT", "first"},
        {"DUP.TXT", "second"},
        {"OK.TXT", "fine"},
        // Too long for the disk (a write failure ends the command) and for
        // the entry record (the name the list shows matches nothing).
        {veryLong, "very long"},
        {"LONG/" + longName, "long"},
    };
    CArchiveDoc doc;
    ASSERT_TRUE(doc.Load(Write("HOSTILE.LZH", Archive(entries)).c_str()));
    EXPECT_EQ(doc.GetEntryCount(), (int)entries.size()) << ItemNames(doc);
    // The second DUP.TXT meets the first: the library asks, and Yes
    // replaces it.
    m_boxes.QueueAction([](HWND, const SeenDialog& d) { return d.HasButton(IDYES) ? IDYES : IDOK; });
    EXPECT_FALSE(ExtractAll(doc));
    // Refused names are reported, in one box; a drive or a leading
    // separator is stripped and the entry lands inside the chosen folder.
    ASSERT_TRUE(m_boxes.WaitForCount(2));
    EXPECT_TRUE(m_boxes.Seen()[0].HasButton(IDYES));
    std::string report = m_boxes.Seen()[1].text;
    for (const char* name : {"..\\..\\EVIL1.TXT", "EVIL4.TXT", "DDDDDDDD"})
        EXPECT_NE(report.find(name), std::string::npos) << name << " in " << Utf8(report);
    EXPECT_TRUE(Exists(m_dest + "\\EVIL2.TXT"));
    EXPECT_TRUE(Exists(m_dest + "\\EVIL3.TXT"));
    // A component longer than the disk allows is a write failure.
    CStringArray longOne;
    longOne.Add(doc.GetEntry(doc.GetEntryCount() - 1)->GetFullPath());
    EXPECT_FALSE(doc.ExtractEntries(longOne, m_dest.c_str(), TRUE));
    ASSERT_TRUE(m_boxes.WaitForCount(3));
    EXPECT_NE(m_boxes.Seen()[2].text.find("LLLLLLLL"), std::string::npos) << Utf8(m_boxes.Seen()[2].text);
    EXPECT_TRUE(Outside().empty()) << Outside()[0];
    EXPECT_FALSE(Exists(m_work + "\\EVIL1.TXT"));
    EXPECT_FALSE(Exists("C:\\EVIL2.TXT"));
    EXPECT_FALSE(Exists("C:\\EVIL3.TXT"));
    std::vector<std::string> files;
    FilesBelow(m_dest, "", &files);
    for (const std::string& f : files) EXPECT_EQ(f.find("EVIL1"), std::string::npos) << f;
    EXPECT_TRUE(Exists(m_dest + "\\OK.TXT"));
    EXPECT_TRUE(Exists(m_dest + "\\DUP.TXT"));
    EXPECT_EQ(m_boxes.Count(), 3u);
}

TEST_F(HostileArchives, SizesBeyondFourGibibytesAreWhole) {
    const uint64_t huge = 5ull << 30;
    CArchiveDoc doc;
    ASSERT_TRUE(doc.Load(Write("HUGE.LZH", Archive({{"BIG/HUGE.BIN", std::string(16, 'x'), false, huge},
                                                    {"SMALL.TXT", "small"}}))
                             .c_str()));
    ASSERT_EQ(doc.GetEntryCount(), 2);
    const CArcfileItem* big = doc.GetEntry(0);
    const CArcfileItem* small = doc.GetEntry(1);
    EXPECT_EQ(big->GetOriginalSize(), huge);
    EXPECT_EQ(big->GetCompressedSize(), 16u);
    EXPECT_EQ(small->GetOriginalSize(), 5u);
    CString listing;
    ASSERT_TRUE(doc.GetListing(listing));
    EXPECT_NE(std::string(listing).find(" 5368709120 "), std::string::npos) << std::string(listing);
}

}  // namespace

#endif
