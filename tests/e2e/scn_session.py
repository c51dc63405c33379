"""A user's session on an archive of nested folders, started from the command
line: browse the tree and the list, extract two files of a folder with and
without their folders, add two files, delete one, rename one, compress a whole
folder (and move one), make a self-extracting archive that becomes the
document, run it, and copy the listing."""
import os
import random
import re
import subprocess

from session import Failed, Skipped, scenario, wait_for

NUMBERS = "".join("%d\n" % i for i in range(1, 3001))
FILES = {
    "README.TXT": "Zuvo sample archive.\r\n",
    "NUMBERS.TXT": NUMBERS,
    "DOC/GUIDE.TXT": "How to use it.\r\n",
    "DOC/NOTES.TXT": "Notes.\r\n",
    "DOC/IMAGES/PIC.BIN": bytes(range(256)) * 20,
    "SRC/MAIN.C": "int main(void) { return 0; }\n",
    # Three files whose name, extension, size, ratio and date orders all differ.
    "MIX/A.ZZZ": random.Random(5).randbytes(1500) + bytes(1500),
    "MIX/B.AAA": bytes((i * 31) % 256 for i in range(10)),
    "MIX/C.MMM": bytes(50000),
}
TIMES = {"MIX/A.ZZZ": 1577872800, "MIX/B.AAA": 1641031200, "MIX/C.MMM": 1609495200}
EXTRACT, COMPRESS, COMPRESS_DIR = 32777, 32778, 32806


def setup(s):
    s.forget_settings()
    s.place_window(20, 20, 1000, 700)
    s.archive = s.jlha_archive("NEST.LZH", FILES, TIMES)
    s.start(s.desk.winpath(s.archive))


def require_views(s):
    s.app.tree_window()
    s.app.list_window()


def require_tool(s, cid, what):
    if not s.app.toolbar()[cid]["enabled"]:
        raise Failed("%s is greyed" % what)


def soft_dialog(s, title, missing):
    """The dialog a command opens (missing says what its absence means)."""
    try:
        return s.app.dialog(title)
    except Failed:
        raise Failed(missing)


def open_chooser(s, *labels):
    s.app.menu(*labels)
    soft_dialog(s, "ディレクトリの選択", "%s opens no folder chooser" % labels[-1])
    return s.app.chooser()


@scenario
def tree_and_list_show_every_folder_and_file(s):
    require_views(s)
    app = s.app
    wait_for(lambda: app.tree_paths() == ["", "DOC\\", "DOC\\IMAGES\\", "MIX\\", "SRC\\"],
             "every folder in the tree")
    top = app.tree()[0]
    assert top.text == "NEST.LZH" and top.selected, (top.text, top.state)
    s.desk.picture("main-window")
    cols, rows = app.list()
    assert [c.text for c in cols] == ["名前", "ｻｲｽﾞ", "ﾌｧｲﾙの種類", "圧縮率", "作成日"], [c.text for c in cols]
    assert sorted(r.name for r in rows) == ["NUMBERS.TXT", "README.TXT"], [r.texts for r in rows]
    numbers = next(r for r in rows if r.name == "NUMBERS.TXT")
    packed = next(int(line.split("=")[1]) for line in _slt(s.archive, "NUMBERS.TXT") if line.startswith("Packed Size"))
    assert numbers.texts[1] == "%dKB" % -(-len(NUMBERS) // 1024), numbers.texts
    assert numbers.texts[3] == "%d%%" % (packed * 100 // len(NUMBERS)), (numbers.texts, packed)
    assert numbers.texts[2], "a type name for .TXT"
    assert re.fullmatch(r"\d\d/\d\d/\d\d \d\d:\d\d:\d\d", numbers.texts[4]), numbers.texts
    # Each folder lists just its own files.
    for path, names in (("DOC\\IMAGES\\", ["PIC.BIN"]), ("SRC\\", ["MAIN.C"]),
                        ("DOC\\", ["GUIDE.TXT", "NOTES.TXT"]), ("", ["NUMBERS.TXT", "README.TXT"])):
        app.select_node(path)
        wait_for(lambda: sorted(app.names()) == names, "the files of %r" % path)
    app.select_node("DOC\\IMAGES\\")
    pic = wait_for(lambda: next((r for r in app.rows() if r.name == "PIC.BIN"), None), "PIC.BIN")
    assert pic.texts[1:4] == ["5KB", "BIN ﾌｧｲﾙ", pic.texts[3]] and pic.texts[3].endswith("%"), pic.texts
    # The keyboard moves through the tree too: Up from DOC\IMAGES\ is DOC\.
    s.desk.key("Up")
    wait_for(lambda: sorted(app.names()) == ["GUIDE.TXT", "NOTES.TXT"], "DOC's files after the Up key")


@scenario
def sort_by_every_column_both_ways_and_switch_views(s):
    require_views(s)
    app = s.app
    app.select_node("MIX\\")
    wait_for(lambda: len(app.rows()) == 3, "the three files of MIX")
    # The sort commands belong to the list: they are greyed while the tree is
    # the active pane, so click a row first.
    s.desk.click(*app.rows()[0].centre)
    sort = ("表示(&V)", "アイコンの整列(&I)")
    steps = [  # the list starts by name, ascending
        (("名前順(&N)",), ["C.MMM", "B.AAA", "A.ZZZ"]),       # the same key again reverses
        (("名前順(&N)",), ["A.ZZZ", "B.AAA", "C.MMM"]),
        (("拡張子順(&B)",), ["B.AAA", "C.MMM", "A.ZZZ"]),     # another key keeps the direction
        (("拡張子順(&B)",), ["A.ZZZ", "C.MMM", "B.AAA"]),
        (("サイズ順(&Z)",), ["C.MMM", "A.ZZZ", "B.AAA"]),
        (("サイズ順(&Z)",), ["B.AAA", "A.ZZZ", "C.MMM"]),
        (("日付順(&D)",), ["A.ZZZ", "C.MMM", "B.AAA"]),
        (("日付順(&D)",), ["B.AAA", "C.MMM", "A.ZZZ"]),
        ((3,), ["B.AAA", "A.ZZZ", "C.MMM"]),                  # header click: ratio
        ((3,), ["C.MMM", "A.ZZZ", "B.AAA"]),
        ((2,), ["B.AAA", "C.MMM", "A.ZZZ"]),                  # header click: type, by extension
    ]
    for i, (how, order) in enumerate(steps):
        if isinstance(how[0], int):
            # Alternate ends of the header, or two quick clicks make a double click.
            col = app.list()[0][how[0]]
            s.desk.click(col.x + (col.w // 3 if i % 2 else 2 * col.w // 3), col.y + col.h // 2)
        else:
            app.menu(*(sort + how))
        wait_for(lambda: app.names() == order, "order %r after %r" % (order, how))
    # List mode and back keeps the rows, their order and the selection.
    app.select_rows(["C.MMM"])
    app.press_tool(104)
    wait_for(lambda: not app.report_mode(), "list mode")
    wait_for(lambda: app.toolbar()[104]["checked"] and not app.toolbar()[105]["checked"],
             "the list-mode button marked in list mode")
    assert app.names() == ["B.AAA", "C.MMM", "A.ZZZ"] and [r.selected for r in app.rows()] == [False, True, False]
    app.press_tool(105)
    wait_for(lambda: app.report_mode(), "details mode again")
    wait_for(lambda: app.toolbar()[105]["checked"], "the details button marked in details mode")
    assert app.names() == ["B.AAA", "C.MMM", "A.ZZZ"]
    # Select all by its accelerator; Tab moves the focus to the other pane.
    s.desk.click(*app.rows()[0].centre)
    s.desk.key("ctrl+a")
    wait_for(lambda: all(r.selected for r in app.rows()), "every row selected by Ctrl+A")
    assert app.focus_window() == app.list_window().hwnd
    s.desk.key("Tab")
    wait_for(lambda: app.focus_window() == app.tree_window().hwnd, "the focus in the tree after Tab")
    s.desk.key("F6")
    wait_for(lambda: app.focus_window() == app.list_window().hwnd, "the focus in the list after F6")
    # Keys the main window leaves alone change nothing.
    s.desk.key("ctrl+x", "shift+Delete", "ctrl+z")
    wait_for(lambda: not app.dialogs(), "no window from the unhandled keys")
    assert sorted(app.names()) == ["A.ZZZ", "B.AAA", "C.MMM"]


def _slt(archive, name):
    out = subprocess.run(["7zz", "l", "-slt", archive], capture_output=True, text=True).stdout
    block = out.split("Path = " + name + "\n", 1)[1].split("\n\n", 1)[0]
    return block.splitlines()


def _extract_doc_files(s, folder, with_folders, make_it):
    """Extracts DOC's two files into work/FOLDER, made from the chooser or
    beforehand."""
    app = s.app
    app.select_node("DOC\\")
    wait_for(lambda: sorted(app.names()) == ["GUIDE.TXT", "NOTES.TXT"], "the files of DOC")
    app.select_rows(["GUIDE.TXT", "NOTES.TXT"])
    require_tool(s, EXTRACT, "Extract with two rows selected")
    if not make_it:
        os.makedirs(s.path(folder), exist_ok=True)
    box = open_chooser(s, "編集(&E)", "解凍(&U)...")
    visible = box.visible_ids()
    assert {1039, 1042} <= visible and not ({1005, 1006} & visible), visible
    if make_it:
        assert box.checked(1039) == bool(s.setting("settings", "bDirUnpack")), "the box starts from the option"
        s.desk.picture("folder-chooser")
    box.go_to(s.desk.winpath(s.work))
    if make_it:
        box.press(1042)
        mk = app.dialog("ディレクトリの作成")
        start = mk.control(cid=1000).text
        assert start.lower().rstrip("\\") == s.desk.winpath(s.work).lower(), start
        mk.type_into(1000, folder)
        mk.press(1)
        mk.wait_closed()
        wait_for(lambda: any(t.lower() == "[%s]" % folder.lower() for t, _ in box.folders()[0]),
                 "the new folder listed in the chooser")
    box.open_folder(folder)
    box.set_check(1039, with_folders)
    box.press(1)
    box.wait_closed()


@scenario
def extract_two_files_of_a_folder_without_and_with_folders(s):
    require_views(s)
    app = s.app
    # The option is written at each toggle, and the chooser's box starts from it.
    stored = s.setting("settings", "bDirUnpack")
    before = 1 if stored is None else stored  # on by default
    app.menu("ｵﾌﾟｼｮﾝ(&O)", "ディレクトリ付き解凍(&D)")
    wait_for(lambda: s.setting("settings", "bDirUnpack") == 1 - before, "the extract-with-folders option stored")
    app.menu("ｵﾌﾟｼｮﾝ(&O)", "ディレクトリ付き解凍(&D)")
    wait_for(lambda: s.setting("settings", "bDirUnpack") == before, "the option stored again")
    _extract_doc_files(s, "flat", False, make_it=True)
    flat = s.path("flat")
    app.wait_done(lambda: sorted(os.listdir(flat)) == ["GUIDE.TXT", "NOTES.TXT"], "two files in flat/")
    assert open(os.path.join(flat, "NOTES.TXT"), "rb").read() == FILES["DOC/NOTES.TXT"].encode()
    _extract_doc_files(s, "tree", True, make_it=False)
    tree = s.path("tree")
    app.wait_done(lambda: os.path.isdir(os.path.join(tree, "DOC")) and
                  sorted(os.listdir(os.path.join(tree, "DOC"))) == ["GUIDE.TXT", "NOTES.TXT"],
                  "two files in tree/DOC/")
    assert os.listdir(tree) == ["DOC"], os.listdir(tree)
    assert open(os.path.join(tree, "DOC", "GUIDE.TXT"), "rb").read() == FILES["DOC/GUIDE.TXT"].encode()
    # The chooser remembers the last folder it was left in.
    assert s.setting("setting", "strOpenDir").lower() == (s.desk.winpath(tree) + "\\").lower()


@scenario
def extract_a_whole_folder_from_the_tree(s):
    require_views(s)
    app = s.app
    os.makedirs(s.path("whole"), exist_ok=True)
    app.select_node("DOC\\")  # a click in the tree makes it the active view
    app.press_tool(EXTRACT)
    soft_dialog(s, "ディレクトリの選択", "Extract in the tree opens no folder chooser")
    box = app.chooser()
    box.go_to(s.desk.winpath(s.path("whole")))
    box.set_check(1039, True)
    box.press(1)
    box.wait_closed()
    want = ["DOC/GUIDE.TXT", "DOC/IMAGES/PIC.BIN", "DOC/NOTES.TXT"]
    app.wait_done(lambda: _files_under(s.path("whole")) == want, "DOC extracted whole")


def _files_under(top):
    found = []
    for base, _, files in os.walk(top):
        for f in files:
            found.append(os.path.relpath(os.path.join(base, f), top).replace(os.sep, "/"))
    return sorted(found)


@scenario
def add_two_files_delete_one_rename_one(s):
    require_views(s)
    app = s.app
    require_tool(s, COMPRESS, "Compress")
    app.select_node("")  # files are added into the folder shown
    add1 = s.write("adds/ADD1.TXT", "added one\r\n")
    s.write("adds/ADD2.TXT", "added two\r\n")
    app.menu("編集(&E)", "圧縮(&P)...")
    box = soft_dialog(s, "圧縮ファイルの選択", "Compress opens no file dialog")
    name = _file_name_field(box)
    s.desk.probe.ask("settext %d %s" % (name.hwnd, s.desk.winpath(os.path.dirname(add1))))
    box.press(1)
    wait_for(lambda: box.window.hwnd in [w.hwnd for w in app.dialogs()], "the dialog in adds/")
    s.desk.probe.ask('settext %d "ADD1.TXT" "ADD2.TXT"' % _file_name_field(box).hwnd)
    box.press(1)
    box.wait_closed()
    app.wait_done(lambda: {"ADD1.TXT", "ADD2.TXT"} <= set(app.names()), "the two added files listed")
    assert {"ADD1.TXT", "ADD2.TXT"} <= set(s.archive_names(s.archive))

    # Delete one through the menu, answering the question with Yes.
    app.select_rows(["ADD2.TXT"])
    app.menu("ﾌｧｲﾙ(&F)", "削除(&D)...")
    ask = app.dialog("Zuvo")
    assert ask.text() == "ADD2.TXT を削除してよろしいですか?", ask.text()
    ask.press(6)
    app.wait_done(lambda: "ADD2.TXT" not in app.names() and "ADD1.TXT" in app.names(), "ADD2.TXT gone")
    assert "ADD2.TXT" not in s.archive_names(s.archive)
    # The toolbar button and the Delete key ask too; No keeps the entry.
    app.select_rows(["ADD1.TXT"])
    for delete in (lambda: app.press_tool(32780), lambda: s.desk.key("Delete")):
        delete()
        ask = app.dialog("Zuvo")
        ask.press(7)
        app.wait_done(lambda: "ADD1.TXT" in app.names(), "ADD1.TXT kept after No")

    # Rename the other in the library's own dialog.
    app.select_rows(["ADD1.TXT"])
    app.menu("ﾌｧｲﾙ(&F)", "名前の変更(&M)")
    ren = app.dialog("名前の変更")
    ren.type_into(1010, "RENAMED.TXT")
    ren.press(1)
    ren.wait_closed()
    app.wait_done(lambda: "RENAMED.TXT" in app.names() and "ADD1.TXT" not in app.names(), "the new name listed")
    names = s.archive_names(s.archive)
    assert "RENAMED.TXT" in names and "ADD1.TXT" not in names, names


def _file_name_field(box):
    for c in box.controls():
        if c.cls == "Edit" and c.visible:
            return c
    raise Failed("no file name field in %r" % box.title)


@scenario
def compress_a_whole_folder_then_move_one(s):
    require_views(s)
    app = s.app
    s.write("pack/X1.TXT", "x1\r\n")
    s.write("pack/SUB/X2.TXT", "x2\r\n")
    box = open_chooser(s, "編集(&E)", "ディレクトリごと圧縮(&R)...")
    visible = box.visible_ids()
    assert {1005, 1006} <= visible and not ({1039, 1042} & visible), visible
    assert box.checked(1005) and not box.checked(1006)
    box.go_to(s.desk.winpath(s.path("pack")))
    box.press(1)
    box.wait_closed()
    # Whether the chosen folder's own name leads the stored names is the
    # library's affair; its files and its sub-folder must be there.
    app.wait_done(lambda: any(p.endswith("SUB\\") for p in app.tree_paths()),
                  "the compressed folder's sub-folder in the tree")
    names = s.archive_names(s.archive)
    assert any(n.endswith("X1.TXT") for n in names) and any(n.endswith("SUB/X2.TXT") for n in names), names
    assert os.path.exists(s.path("pack/X1.TXT")), "compressing keeps the files"

    s.write("move/M1.TXT", "m1\r\n")
    box = open_chooser(s, "編集(&E)", "ディレクトリごと圧縮(&R)...")
    box.go_to(s.desk.winpath(s.path("move")))
    box.set_check(1006, True)
    box.press(1)
    box.wait_closed()
    app.wait_done(lambda: any(n.endswith("M1.TXT") for n in s.archive_names(s.archive)), "the moved file stored")
    wait_for(lambda: not os.path.exists(s.path("move/M1.TXT")), "the moved file deleted from disk")


@scenario
def new_document_then_compress_makes_a_new_archive(s):
    require_views(s)
    app = s.app
    app.press_tool(57600)
    wait_for(lambda: app.title == "Untitled - Zuvo" and app.tree_paths() == [] and app.names() == [],
             "an empty untitled document")
    new = s.write("new/FRESH.TXT", "fresh\r\n")
    app.press_tool(COMPRESS)
    ask = soft_dialog(s, "作成するファイル名を入力してください。", "Compress asks no name for a new archive")
    name = _file_name_field(ask)
    s.desk.probe.ask("settext %d %s" % (name.hwnd, s.desk.winpath(s.path("NEW.LZH"))))
    ask.press(1)
    ask.wait_closed()
    box = app.dialog("圧縮ファイルの選択")
    s.desk.probe.ask("settext %d %s" % (_file_name_field(box).hwnd, s.desk.winpath(new)))
    box.press(1)
    box.wait_closed()
    app.wait_done(lambda: app.title == "NEW.LZH - Zuvo" and app.names() == ["FRESH.TXT"], "NEW.LZH with FRESH.TXT")
    assert s.archive_names(s.path("NEW.LZH")) == ["FRESH.TXT"]
    # Back to the session's archive through the recent files.
    app.menu("ﾌｧｲﾙ(&F)")
    s.desk.key("2")
    wait_for(lambda: app.title == "NEST.LZH - Zuvo", "NEST.LZH open again")


@scenario
def miniviewer_from_the_menu(s):
    require_views(s)
    app = s.app
    app.select_rows(["README.TXT"])
    app.menu("編集(&E)", "ミニビュアーの起動(&M)\tCtrl+V")
    viewer = s.desk.wait_window(title="MiniViewer - README.TXT", timeout=8)
    text = wait_for(lambda: next((k.text for k in s.desk.kids(viewer.hwnd) if k.id == 101), None), "its text")
    assert text == FILES["README.TXT"], repr(text)
    s.desk.click(viewer.x + 40, viewer.y + 8)
    s.desk.key("alt+F4")
    s.desk.wait_gone(viewer.hwnd)


@scenario
def copy_the_listing(s):
    require_views(s)
    app = s.app
    app.menu("編集(&E)", "クリップボードにコピー(&C)\tCtrl+C")
    text = wait_for(lambda: (s.desk.probe.ask("clip") or [[""]])[0][0], "text on the clipboard")
    for name in ("README.TXT", "GUIDE.TXT", "PIC.BIN", "MAIN.C"):
        assert name in text, (name, text[:500])


@scenario
def each_self_extracting_archive_becomes_the_document_and_runs(s):
    require_views(s)
    app = s.app
    exe = s.archive[:-4] + ".exe"
    for radio, kind in ((1004, "WinSFX32"), (1002, "DOS"), (1003, "WinSFX")):
        if app.title != "NEST.LZH - Zuvo":
            app.menu("ﾌｧｲﾙ(&F)")
            s.desk.key("2")  # NEST.LZH, just below NEST.exe in the recent files
            wait_for(lambda: app.title == "NEST.LZH - Zuvo", "NEST.LZH open from the recent files")
        existed = os.path.exists(exe)
        app.menu("編集(&E)", "自己解凍書庫の作成(&O)...")
        box = soft_dialog(s, "自己解凍書庫の作成", "the self-extracting archive command opens no dialog")
        if radio == 1004:
            s.desk.picture("self-extracting-archive")
            assert box.checked(1004) and not box.checked(1002) and not box.checked(1003)
        box.press(radio)
        box.press(1)
        box.wait_closed()
        if existed:
            # The program of the round before is there: replacing it is asked.
            ask = app.dialog("Zuvo")
            assert "上書きしますか" in ask.text(), ask.text()
            ask.press(6)
        app.wait_done(lambda: app.title == "NEST.exe - Zuvo", "the %s archive open" % kind)
        wait_for(lambda: app.tree_paths()[:3] == ["", "DOC\\", "DOC\\IMAGES\\"], "its folders in the tree")
        assert set(FILES) <= set(s.archive_names(exe)), kind
        assert _pe_subsystem(exe) == (3 if kind == "DOS" else 2), kind
        # Run it as a user of the archive would, into a folder of its own.
        dest = s.path("sfx-" + kind)
        os.makedirs(dest, exist_ok=True)
        args = ["wine", exe, "/d", s.desk.winpath(dest), "/o"] + ([] if kind == "DOS" else ["/q"])
        run = subprocess.run(args, stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        assert run.returncode == 0, (kind, run.returncode, run.stdout[-300:])
        assert _files_under(dest) == s.archive_names(exe), (kind, _files_under(dest))
        with open(os.path.join(dest, "NUMBERS.TXT")) as f:
            assert f.read() == NUMBERS, kind


def _pe_subsystem(path):
    with open(path, "rb") as f:
        data = f.read(4096)
    pe = int.from_bytes(data[0x3C:0x40], "little")
    return int.from_bytes(data[pe + 0x5C:pe + 0x5E], "little")
