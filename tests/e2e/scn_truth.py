"""The window tells the truth: rows in the order of their values, the exact
time, a picture that matches the list after a change of mode or Select All,
an emptied archive that stays open, new names that get .lzh, a rename inside
a folder that can be corrected, and menus whose keys work."""
import os
import time

from harness import Dialog
from session import Failed, scenario, wait_for

COMPRESS, OPEN = 32778, 57601
COLOR_WINDOW, COLOR_HIGHLIGHT = 5, 13


def _epoch(text):
    return int(time.mktime(time.strptime(text, "%Y-%m-%d %H:%M:%S")))


DATES = {"DATES/Y1999.TXT": "1999-12-31 12:00:00", "DATES/X2003.TXT": "2003-01-01 00:00:00",
         "DATES/W2030.TXT": "2030-05-05 08:01:37", "DATES/Z1985.TXT": "1985-06-01 10:00:00"}
NAMES = ["NAMES/B.TXT", "NAMES/_A.TXT", "NAMES/[C].TXT", "NAMES/D.TXT", "NAMES/E.TXT"]
FILES = dict({k: "dated\r\n" for k in DATES}, **{k: "x" * (i + 1) for i, k in enumerate(NAMES)})
FILES.update({"DOC/GUIDE.TXT": "guide\r\n", "DOC/NOTES.TXT": "notes\r\n"})


def setup(s):
    s.forget_settings()
    s.place_window(20, 20, 900, 650)
    s.archive = s.jlha_archive("TRUTH.LZH", FILES, {k: _epoch(v) for k, v in DATES.items()})
    s.start(s.desk.winpath(s.archive))


def _open(s, path):
    """Opens a file through File Open, as a user picks it."""
    app = s.app
    app.press_tool(OPEN)
    box = app.dialog("開く")
    s.desk.probe.ask("settext %d %s" % (_name_field(box).hwnd, s.desk.winpath(path)))
    box.press(1)
    box.wait_closed()


def _name_field(box):
    return next(c for c in box.controls() if c.cls == "Edit" and c.visible)


def _filters(box):
    combo = box.control(cid=1136)
    return [(f[0] == "1", f[5]) for f in box.desk.probe.ask("cb %d" % combo.hwnd)]


@scenario
def rows_sort_by_time_and_platform_name_order_and_show_the_exact_second(s):
    app = s.app
    app.select_node("DATES\\")
    wait_for(lambda: len(app.rows()) == 4, "the four dated files")
    s.desk.click(*app.rows()[0].centre)
    app.menu("表示(&V)", "アイコンの整列(&I)", "日付順(&D)")
    want = ["Z1985.TXT", "Y1999.TXT", "X2003.TXT", "W2030.TXT"]
    wait_for(lambda: app.names() == want, "oldest first: %r, not %r" % (want, app.names()))
    w2030 = next(r for r in app.rows() if r.name == "W2030.TXT")
    assert w2030.texts[4] == "30/05/05 08:01:37", w2030.texts
    app.menu("表示(&V)", "アイコンの整列(&I)", "名前順(&N)")
    app.select_node("NAMES\\")
    wait_for(lambda: len(app.rows()) == 5, "the five named files")
    names = app.names()
    assert names.index("_A.TXT") < names.index("B.TXT") and names.index("[C].TXT") < names.index("B.TXT"), names


def _highlighted(s, app, rows):
    """Per row: whether its name cell is drawn in the selection colour."""
    pic = s.desk.grab(*app.list_client())
    colour = s.desk.syscolor(COLOR_HIGHLIGHT)
    return [pic.count(colour, r.x, r.y, r.w, r.h) > r.h * 4 for r in rows]


def _nothing_outside_rows(s, app):
    """True when every pixel of the list outside its rows is background."""
    x, y, w, h = app.list_client()
    pic = s.desk.grab(x, y, w, h)
    back = s.desk.syscolor(COLOR_WINDOW)
    inside = [(bx - 1, by - 1, bx + bw + 1, by + bh + 1) for bx, by, bw, bh in app.row_bounds()]
    for yy in range(y, y + h):
        for xx in range(x, x + w):
            if pic.at(xx, yy) != back and not any(l <= xx < r and t <= yy < b for l, t, r, b in inside):
                return False
    return True


@scenario
def list_mode_and_select_all_draw_what_the_list_holds(s):
    app = s.app
    app.select_node("NAMES\\")
    wait_for(lambda: len(app.rows()) == 5, "the five named files")
    s.desk.click(*app.rows()[1].centre)  # the list has the focus
    app.menu("表示(&V)", "一覧(&L)")
    wait_for(lambda: not app.report_mode(), "list mode")
    wait_for(lambda: _nothing_outside_rows(s, app), "no stale details rows after 一覧", timeout=5)
    app.menu("表示(&V)", "詳細(&D)")
    wait_for(lambda: app.report_mode(), "details mode")
    app.select_rows([app.names()[2]])
    wait_for(lambda: _highlighted(s, app, app.rows()) == [False, False, True, False, False],
             "one row drawn selected")
    s.desk.key("ctrl+a")
    wait_for(lambda: all(r.selected for r in app.rows()), "every row selected")
    wait_for(lambda: all(_highlighted(s, app, app.rows())), "every row drawn selected", timeout=5)
    app.menu("編集(&E)", "全ファイルの選択(&A)\tCtrl+A")  # the same from the menu, in list mode
    app.select_rows([app.names()[0]])
    app.menu("表示(&V)", "一覧(&L)")
    wait_for(lambda: not app.report_mode(), "list mode again")
    app.menu("編集(&E)", "全ファイルの選択(&A)\tCtrl+A")
    wait_for(lambda: all(_highlighted(s, app, app.rows())), "every row drawn selected in list mode", timeout=5)
    app.menu("表示(&V)", "詳細(&D)")
    wait_for(lambda: app.report_mode(), "details mode again")


@scenario
def keys_shown_in_the_menus_do_what_the_menus_say(s):
    app = s.app
    app.select_node("DOC\\")
    app.select_rows(["GUIDE.TXT"])
    s.desk.key("ctrl+c")
    text = wait_for(lambda: (s.desk.probe.ask("clip") or [[""]])[0][0], "the listing on the clipboard")
    assert "GUIDE.TXT" in text and "NOTES.TXT" in text, text[:300]
    s.desk.key("ctrl+v")
    viewer = s.desk.wait_window(title="MiniViewer - GUIDE.TXT", timeout=8)
    s.desk.click(viewer.x + 40, viewer.y + 8)
    s.desk.key("alt+F4")
    s.desk.wait_gone(viewer.hwnd)
    app.focus()
    s.desk.key("ctrl+n")
    wait_for(lambda: app.title == "Untitled - Zuvo", "an untitled document after Ctrl+N")
    _open(s, s.archive)
    wait_for(lambda: app.title == "TRUTH.LZH - Zuvo", "TRUTH.LZH open again")


@scenario
def file_dialogs_show_every_file_and_offer_lha_and_exe(s):
    app = s.app
    app.press_tool(COMPRESS)
    box = app.dialog("圧縮ファイルの選択")
    filters = _filters(box)
    box.press(2)
    box.wait_closed()
    assert [t for chosen, t in filters if chosen] == ["All Files (*.*) "], filters
    assert any("*.txt" in t for _, t in filters), filters
    app.press_tool(OPEN)
    box = app.dialog("開く")
    filters = " ".join(t for _, t in _filters(box))
    box.press(2)
    box.wait_closed()
    assert "*.lha" in filters and "*.exe" in filters and "*.lzh" in filters, filters


@scenario
def rename_keeps_the_folder_and_a_refused_name_can_be_corrected(s):
    app = s.app
    app.select_node("DOC\\")
    app.select_rows(["GUIDE.TXT"])
    app.menu("ﾌｧｲﾙ(&F)", "名前の変更(&M)")
    ren = app.dialog("名前の変更")
    assert ren.control(cid=1010).text == "GUIDE.TXT", ren.control(cid=1010).text
    ren.type_into(1010, "NOTES.TXT")  # taken
    ren.press(1)
    refusal = wait_for(lambda: next((Dialog(s.desk, w) for w in app.dialogs() if w.hwnd != ren.window.hwnd), None),
                       "the refusal")
    assert "NOTES.TXT" in refusal.text(), refusal.text()
    refusal.press(1)
    refusal.wait_closed()
    assert any(w.hwnd == ren.window.hwnd for w in app.dialogs()), "the rename box stays for a correction"
    ren.type_into(1010, "MANUAL.TXT")
    ren.press(1)
    ren.wait_closed()
    app.wait_done(lambda: "DOC/MANUAL.TXT" in s.archive_names(s.archive), "DOC/MANUAL.TXT stored")
    names = s.archive_names(s.archive)
    assert "DOC/GUIDE.TXT" not in names and "MANUAL.TXT" not in names, names


@scenario
def an_emptied_archive_stays_open_and_takes_new_files(s):
    app = s.app
    emptied = s.jlha_archive("EMPTIED.LZH", {"ONLY.TXT": "only\r\n"})
    _open(s, emptied)
    wait_for(lambda: app.title == "EMPTIED.LZH - Zuvo" and app.names() == ["ONLY.TXT"], "EMPTIED.LZH open")
    app.select_rows(["ONLY.TXT"])
    s.desk.key("Delete")
    app.dialog("Zuvo").press(6)
    # What is left is an empty archive: its end mark, one zero byte.
    app.wait_done(lambda: open(emptied, "rb").read() == b"\0", "the last entry deleted")
    wait_for(lambda: app.tree_paths() == [""] and app.names() == [], "the emptied archive's top node, no rows")
    added = s.write("adds/AFTER.TXT", "after\r\n")
    _compress(s, added)
    app.wait_done(lambda: app.names() == ["AFTER.TXT"], "AFTER.TXT added to the emptied archive")
    assert s.archive_names(emptied) == ["AFTER.TXT"]


@scenario
def new_archive_names_take_an_empty_archive_and_get_lzh(s):
    app = s.app
    zero = s.write("ZERO.LZH", b"\0")  # an empty archive
    for typed, made, name in ((zero, zero, "ZERO.LZH"), (s.path("PLAIN"), s.path("PLAIN.lzh"), "PLAIN.lzh")):
        app.press_tool(57600)
        wait_for(lambda: app.title == "Untitled - Zuvo", "an untitled document")
        added = s.write("adds/%s.TXT" % name.split(".")[0], name)
        app.press_tool(COMPRESS)
        ask = app.dialog("作成するファイル名を入力してください。")
        s.desk.probe.ask("settext %d %s" % (_name_field(ask).hwnd, s.desk.winpath(typed)))
        ask.press(1)
        ask.wait_closed()
        box = app.dialog("圧縮ファイルの選択")
        s.desk.probe.ask("settext %d %s" % (_name_field(box).hwnd, s.desk.winpath(added)))
        box.press(1)
        box.wait_closed()
        want = os.path.basename(added)
        app.wait_done(lambda: app.title == name + " - Zuvo" and app.names() == [want], "%s with %s" % (name, want))
        assert s.archive_names(made) == [want]
    assert not os.path.exists(s.path("PLAIN"))


def _compress(s, path):
    app = s.app
    app.press_tool(COMPRESS)
    box = app.dialog("圧縮ファイルの選択")
    s.desk.probe.ask("settext %d %s" % (_name_field(box).hwnd, s.desk.winpath(path)))
    box.press(1)
    box.wait_closed()


@scenario
def a_self_extractor_of_a_self_extractor_is_refused_by_name(s):
    app = s.app
    _open(s, s.archive)
    wait_for(lambda: app.title == "TRUTH.LZH - Zuvo", "TRUTH.LZH open")
    for attempt in range(2):
        app.menu("編集(&E)", "自己解凍書庫の作成(&O)...")
        box = app.dialog("自己解凍書庫の作成")
        box.press(1)
        box.wait_closed()
        if attempt == 0:
            app.wait_done(lambda: app.title == "TRUTH.exe - Zuvo", "TRUTH.exe open")
    error = wait_for(lambda: next((Dialog(s.desk, w) for w in app.dialogs()), None), "the library's refusal")
    text = error.text()
    error.press(1)
    error.wait_closed()
    if "自己解凍" not in text or "コマンドを解釈できません" in text:
        raise Failed("the refusal does not say what is wrong: %r" % text)
