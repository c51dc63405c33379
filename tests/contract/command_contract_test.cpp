// Every command line the engine builds, read by the library's own parser: the
// command, its switches, the archive, the destination and work folders, and
// the entries or disk names it takes, with paths and names holding blanks,
// quotes and double-byte characters whose second byte is 0x5C, and lists
// long enough to be split into several lines.
#include "archiver/dll/command_line.h"
#include "archiver/dll/entry_record.h"
#include "archiver/dll/entry_selection.h"
#include "engine/lha.h"
#include "tests/fake_unlha32/fake_control.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

void MakeDiskFile(const std::string& path) { CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL)); }

// What the library made of the lines of one operation.
struct Understood {
    std::string command;  // letter and switches, e.g. "x r1xp", "u r1x", "s ow1"
    std::string archive, destination, work;
    std::vector<std::string> names;  // entries chosen (archive order) or disk names; "?" + an unmatched name
    size_t lines = 0;
};

std::string Switches(const unlha::Command& c) {
    std::string s(1, c.name);
    s += " ";
    if (c.recurse) s += "r" + std::to_string(c.recurse);
    if (c.with_dir_name) s += "x";
    if (c.full_paths) s += "p";
    if (c.quiet) s += "n";
    if (c.overwrite) s += "o";
    if (c.sfx_window >= 0) s += "w" + std::to_string(c.sfx_window);
    return s;
}

// The library's reading of each line: the parser, then the selection its
// commands make among the archive's entries (x, e, d, n) or the disk names
// they take (u, m).
Understood Read(const std::vector<std::string>& lines, const std::vector<lzh::Header>& entries) {
    Understood u;
    std::vector<bool> any(entries.size(), false);
    for (const std::string& line : lines) {
        unlha::Command c;
        if (!unlha::ParseCommand(line, unlha::DiskProbe(), &c)) {
            u.command = "unreadable: " + line;
            return u;
        }
        u.command = Switches(c);
        u.archive = c.archive;
        u.destination = c.destination;
        u.work = c.work_dir;
        ++u.lines;
        std::vector<std::string> names;
        if (c.name == 'u' || c.name == 'm') {
            u.names.insert(u.names.end(), c.names.begin(), c.names.end());
            continue;
        } else if (c.name == 'x' || c.name == 'e') {
            names = unlha::NamesFromText(c.rest, entries);
        } else if (c.name == 'd') {
            names = c.names;
        } else if (c.name == 'n') {
            size_t i = unlha::FindEntry(c.rest, entries);
            names.push_back(i < entries.size() ? c.rest : c.names.size() == 1 ? c.names[0] : c.rest);
        } else {
            continue;
        }
        std::vector<bool> chosen;
        std::vector<std::string> unmatched;
        unlha::SelectEntries(names, entries, c.full_paths || c.name == 'x' || c.name == 'd', &chosen, &unmatched);
        for (size_t i = 0; i < entries.size(); ++i) any[i] = any[i] || chosen[i];
        for (const std::string& name : unmatched) u.names.push_back("?" + name);
    }
    for (size_t i = 0; i < entries.size(); ++i)
        if (any[i]) u.names.push_back(unlha::DisplayName(entries[i]));
    return u;
}

class CommandContract : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u);
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        // Blanks everywhere, and ソ (0x83 0x5C) right before a separator.
        root = std::string(temp) + Sjis("zuvo contract ソ") + "\\";
        CreateDirectoryA(root.c_str(), NULL);
        archive = root + Sjis("My アーカイブ.lzh");
        MakeDiskFile(archive);
        dest = root + "Out Dir\\";
        CreateDirectoryA(dest.c_str(), NULL);
        work = root + "Work Dir";
        CreateDirectoryA(work.c_str(), NULL);
        GetEnvironmentVariableA("TMP", oldTmp, sizeof(oldTmp));
        SetEnvironmentVariableA("TMP", (work + "\\").c_str());
        src = root + "Src Dir\\";
        CreateDirectoryA(src.c_str(), NULL);
        for (const char* path : {"DOC/A.TXT", "DOC/", "Read Me.txt", "say \"hi\".txt", "a\"b", "tab\there",
                                 "表/ソ.txt", "表/", "表 能.txt", "My Dir/x y.txt", "ソ"}) {
            entries.emplace_back();
            entries.back().path = Sjis(path);
        }
        for (int i = 0; i < 100; ++i) {
            char name[16];
            wsprintfA(name, "F%05d.TXT", i);  // 10 characters
            entries.emplace_back();
            entries.back().path = name;
        }
    }
    void TearDown() override { SetEnvironmentVariableA("TMP", oldTmp); }

    // The names of the entries whose listed names pass the filter.
    std::vector<std::string> Listed(const std::function<bool(const std::string&)>& keep) {
        std::vector<std::string> names;
        for (const lzh::Header& h : entries)
            if (keep(unlha::DisplayName(h))) names.push_back(unlha::DisplayName(h));
        return names;
    }

    FakeUnlha32 lib;
    DialogWatcher boxes;
    std::string root, archive, dest, work, src;
    std::vector<lzh::Header> entries;
    char oldTmp[MAX_PATH] = "";
};

void Fill(CStringArray* a, const std::vector<std::string>& names) {
    for (const std::string& n : names) a->Add(n.c_str());
}

TEST_F(CommandContract, TheLibraryTakesEveryLineAsTheEngineMeantIt) {
    std::vector<std::string> chosen = {"DOC\\A.TXT", "Read Me.txt", "say \"hi\".txt", "a\"b", "tab\there",
                                       Sjis("表\\ソ.txt"), Sjis("表 能.txt"), Sjis("ソ")};
    std::vector<std::string> hundred = Listed([](const std::string& n) { return n[0] == 'F'; });
    std::vector<std::string> files;
    for (const char* name : {"a.txt", "b c.txt", "表.txt", "ソ 能.txt", "ソ"}) files.push_back(src + Sjis(name));
    std::string many = src + "many\\";
    CreateDirectoryA(many.c_str(), NULL);
    std::vector<std::string> manyFiles;
    for (int i = 0; i < 300; ++i) {
        char name[64];
        wsprintfA(name, "file %04d with a long name to fill the line.txt", i);
        manyFiles.push_back(many + name);
    }
    for (const std::string& f : files) MakeDiskFile(f);
    for (const std::string& f : manyFiles) MakeDiskFile(f);
    std::string none;
    std::string fresh = root + "New Arc.lzh";
    DeleteFileA(fresh.c_str());
    CStringArray chosenNames, hundredNames, fileNames, manyNames;
    Fill(&chosenNames, chosen);
    Fill(&hundredNames, hundred);
    Fill(&fileNames, files);
    Fill(&manyNames, manyFiles);

    struct Case {
        const char* what;
        std::function<BOOL(CLha&)> run;
        const char* command;
        const std::string& destination;
        const std::string& work;
        std::vector<std::string> names;
        bool batched;
        const std::string* otherArchive = nullptr;
    } cases[] = {
        {"extract with folders", [&](CLha& a) { return a.ExtractFiles(chosenNames, dest.c_str(), TRUE); },
         "x r1xp", dest, none, Listed([&](const std::string& n) { return std::count(chosen.begin(), chosen.end(), n) > 0; }), false},
        {"extract", [&](CLha& a) { return a.ExtractFiles(chosenNames, dest.c_str(), FALSE); },
         "e p", dest, none, Listed([&](const std::string& n) { return std::count(chosen.begin(), chosen.end(), n) > 0; }), false},
        {"one entry to view, unquoted", [&](CLha& a) { return a.Extract("Read Me.txt", dest.c_str(), FALSE); },
         "e p", dest, none, {"Read Me.txt"}, false},
        {"one entry with a quote, unquoted", [&](CLha& a) { return a.Extract("say \"hi\".txt", dest.c_str(), FALSE); },
         "e p", dest, none, {"say \"hi\".txt"}, false},
        {"a folder", [&](CLha& a) { return a.ExtractDirectory(Sjis("表\\").c_str(), dest.c_str()); },
         "x r2xp", dest, none, {Sjis("表\\ソ.txt")}, false},
        {"a folder with a blank", [&](CLha& a) { return a.ExtractDirectory("My Dir", dest.c_str()); },
         "x r2xp", dest, none, {"My Dir\\x y.txt"}, false},
        {"the root", [&](CLha& a) { return a.ExtractDirectory("", dest.c_str()); },
         "x r2xp", dest, none, Listed([](const std::string&) { return true; }), false},
        {"delete", [&](CLha& a) { return a.Delete(chosenNames); },
         "d p", none, work, Listed([&](const std::string& n) { return std::count(chosen.begin(), chosen.end(), n) > 0; }), false},
        {"rename", [&](CLha& a) { return a.Rename(Sjis("表 能.txt").c_str()); },
         "n ", none, none, {Sjis("表 能.txt")}, false},
        {"add files", [&](CLha& a) { return a.AddFiles(fileNames, FALSE); },
         "u n", none, work, files, false},
        {"move files", [&](CLha& a) { return a.AddFiles(fileNames, TRUE); },
         "m n", none, work, files, false},
        {"add files to an archive not made yet", [&](CLha& a) { return a.AddFiles(fileNames, FALSE); },
         "u n", none, work, files, false, &fresh},
        {"add a folder with its name", [&](CLha& a) { return a.AddDirectory(src.c_str(), TRUE, FALSE); },
         "u r1x", none, work, {src + "*.*"}, false},
        {"move a folder's contents", [&](CLha& a) { return a.AddDirectory((src + "many").c_str(), FALSE, TRUE); },
         "m r1", none, work, {many + "*.*"}, false},
        {"self-extractor, console", [&](CLha& a) { return a.MakeSFX(0); }, "s w0", none, none, {}, false},
        {"self-extractor, window", [&](CLha& a) { return a.MakeSFX(1); }, "s w1", none, none, {}, false},
        {"self-extractor, window, replacing", [&](CLha& a) { return a.MakeSFX(2, TRUE); }, "s ow1", none, none, {}, false},
        {"listing", [&](CLha& a) { CString out; return a.List(out); }, "l ", none, none, {}, false},
        {"extraction past 400 characters", [&](CLha& a) { return a.ExtractFiles(hundredNames, dest.c_str(), FALSE); },
         "e p", dest, none, hundred, true},
        {"adding past 8,000 characters", [&](CLha& a) { return a.AddFiles(manyNames, FALSE); },
         "u n", none, work, manyFiles, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        lib.ClearCalls();
        const std::string& named = c.otherArchive ? *c.otherArchive : archive;
        CLha arc(named.c_str());
        EXPECT_TRUE(c.run(arc));
        std::vector<std::string> lines = lib.CommandLines();
        Understood u = Read(lines, entries);
        EXPECT_EQ(u.command, c.command) << (lines.empty() ? "" : lines[0]);
        EXPECT_EQ(u.archive, named);
        EXPECT_EQ(u.destination, c.destination);
        EXPECT_EQ(u.work, c.work);
        EXPECT_EQ(u.names, c.names);
        EXPECT_EQ(u.lines > 1, c.batched) << u.lines;
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

}  // namespace
