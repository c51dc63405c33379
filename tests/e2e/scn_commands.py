"""The program's own commands, each driven from its menu or toolbar button:
the ways of opening an archive, the bars, always on top, the archiver
library's settings, About and Exit."""
import os
import re
import subprocess

from harness import Dialog, DropProbe
from session import Failed, scenario, wait_for

ABOUT = 57664
TOPMOST_CMD = 32788
COMPRESS = 32778
BEST = 1044  # the library's highest compression box


def setup(s):
    s.forget_settings()
    s.reg("delete", r"HKCU\Software\Vantrel\unlha32", "/f")
    # A window large enough for five columns, from a clean set of settings.
    s.place_window(40, 30, 840, 630)
    s.first = s.jlha_archive("FIRST.LZH", {"ONE.TXT": "one\r\n", "DIR/TWO.TXT": "two\r\n"})
    s.second = s.jlha_archive("SECOND.LZH", {"THREE.TXT": "three\r\n"})
    s.stand_in_opener()
    s.start(s.desk.winpath(s.first))


@scenario
def command_line_open_names_the_window(s):
    wait_for(lambda: s.app.title == "FIRST.LZH - Zuvo", "the title naming the archive")


@scenario
def always_on_top(s):
    app = s.app
    assert not app.refresh().topmost, "a new window is never topmost"
    app.menu("表示(&V)", "つねに手前に表示(&A)")
    wait_for(lambda: app.refresh().topmost and app.toolbar()[TOPMOST_CMD]["checked"],
             "topmost, with the toolbar button down")
    app.press_tool(TOPMOST_CMD)
    wait_for(lambda: not app.refresh().topmost and not app.toolbar()[TOPMOST_CMD]["checked"],
             "not topmost, with the toolbar button up")
    # Once a tooltip of the toolbar has shown, Wine places a window that owns
    # it below that tooltip instead of making it topmost: the topmost style is
    # checked before any toolbar button is touched (this scenario comes
    # first), and after the toolbar clicks only the command's own mark.
    app.press_tool(TOPMOST_CMD)
    wait_for(lambda: app.toolbar()[TOPMOST_CMD]["checked"], "the toolbar button down again")
    app.menu("表示(&V)", "つねに手前に表示(&A)")
    wait_for(lambda: not app.refresh().topmost and not app.toolbar()[TOPMOST_CMD]["checked"],
             "off again from the menu")


@scenario
def file_open_dialog_and_recent_files(s):
    app = s.app
    # Ctrl+O opens the dialog too; Cancel leaves the archive open.
    app.focus()
    s.desk.key("ctrl+o")
    box = app.dialog("開く")
    box.press(2)
    box.wait_closed()
    assert app.title == "FIRST.LZH - Zuvo"
    app.press_tool(57601)
    box = app.dialog("開く")
    name = box.control(cls="Edit") if _has(box, "Edit") else box.control(cid=1148)
    s.desk.probe.ask("settext %d %s" % (name.hwnd, s.desk.winpath(s.second)))
    box.press(1)
    box.wait_closed()
    wait_for(lambda: app.title == "SECOND.LZH - Zuvo", "SECOND.LZH open after File Open")
    # The first archive is now the second entry of the recent-file list.
    app.menu("ﾌｧｲﾙ(&F)")
    s.desk.key("2")
    wait_for(lambda: app.title == "FIRST.LZH - Zuvo", "FIRST.LZH open from the recent-file list")


@scenario
def open_by_dropping_an_archive(s):
    app = s.app
    assert app.title == "FIRST.LZH - Zuvo", app.title
    probe = DropProbe(s.desk, s.path("drop.log"), [s.second])
    try:
        main = app.refresh()
        probe.drag_to(main.x + main.w // 2, main.y + main.h // 2)
        wait_for(lambda: app.title == "SECOND.LZH - Zuvo", "SECOND.LZH open after the drop")
        assert not app.dialogs(), "an archive dropped alone opens without a question"
    finally:
        probe.close()
    app.menu("ﾌｧｲﾙ(&F)")
    s.desk.key("2")
    wait_for(lambda: app.title == "FIRST.LZH - Zuvo", "FIRST.LZH open again")


@scenario
def a_file_that_is_not_lzh_leaves_an_untitled_window(s):
    app = s.app
    assert app.title == "FIRST.LZH - Zuvo", app.title
    junk = s.write("JUNK.LZH", "no archive in here\r\n" * 20)
    app.press_tool(57601)
    box = app.dialog("開く")
    name = box.control(cls="Edit") if _has(box, "Edit") else box.control(cid=1148)
    s.desk.probe.ask("settext %d %s" % (name.hwnd, s.desk.winpath(junk)))
    box.press(1)
    box.wait_closed()
    error = wait_for(lambda: next((Dialog(s.desk, w) for w in app.dialogs()), None), "the error box")
    assert "LZH" in error.text(), error.text()
    error.press(1)
    error.wait_closed()
    # The old archive is gone from the window, so its name goes too, and it
    # opens again from the recent-file list instead of counting as open.
    wait_for(lambda: app.title == "Untitled - Zuvo" and app.names() == [] and app.tree_paths() == [],
             "an empty untitled window")
    app.menu("ﾌｧｲﾙ(&F)")
    s.desk.key("1")
    wait_for(lambda: app.title == "FIRST.LZH - Zuvo" and app.names() == ["ONE.TXT"],
             "FIRST.LZH listed again")


@scenario
def a_cut_archive_opens_with_what_is_readable_and_the_damage_named(s):
    app = s.app
    lines = "".join("%06d\r\n" % i for i in range(20000))
    whole = s.jlha_archive("WHOLE.LZH", {"GOOD.TXT": "good\r\n" * 500, "DOC/CUT.TXT": lines})
    with open(whole, "rb") as f:
        cut = s.write("CUTSHORT.LZH", f.read()[:-3000])
    app.press_tool(57601)
    box = app.dialog("開く")
    name = box.control(cls="Edit") if _has(box, "Edit") else box.control(cid=1148)
    s.desk.probe.ask("settext %d %s" % (name.hwnd, s.desk.winpath(cut)))
    box.press(1)
    box.wait_closed()
    # The library's box names the entry, where its data begins, and says
    # that the data, not a header, is short.
    error = wait_for(lambda: next((Dialog(s.desk, w) for w in app.dialogs()), None), "the library's box")
    text = error.text()
    assert "DOC\\CUT.TXT" in text and "データ" in text and re.search(r"\d{3,} バイト目", text), text
    error.press(1)
    error.wait_closed()
    wait_for(lambda: app.title == "CUTSHORT.LZH - Zuvo" and app.names() == ["GOOD.TXT"]
             and "DOC\\" in app.tree_paths(), "the readable entries listed")
    app.menu("ﾌｧｲﾙ(&F)")
    s.desk.key("2")
    wait_for(lambda: app.title == "FIRST.LZH - Zuvo", "FIRST.LZH open again")


@scenario
def toolbar_and_status_bar_toggle(s):
    app = s.app
    for label, cid in (("ﾂｰﾙﾊﾞｰ(&T)", 59392), ("ｽﾃｰﾀｽﾊﾞｰ(&S)", 59393)):
        app.menu("表示(&V)", label)
        wait_for(lambda: not _child_visible(app, cid), "bar %d hidden" % cid)
        app.menu("表示(&V)", label)
        wait_for(lambda: _child_visible(app, cid), "bar %d shown again" % cid)


@scenario
def archiver_settings_choose_the_method_of_the_next_add(s):
    app = s.app
    # The first round also turns the highest compression on, the second off.
    for method, radio, best in (("-lh7-", 1022, 1), ("-lh5-", 1020, 0)):
        app.menu("ｵﾌﾟｼｮﾝ(&O)", "unlha32.dllの設定(&U)...")
        box = app.any_dialog()
        assert box.window.pid == app.pid and {1, 2, radio, BEST} <= box.visible_ids(), box.controls()
        assert box.checked(BEST) == (not best), "the box shows the stored setting"
        if method == "-lh7-":
            s.desk.picture("archiver-settings")
        box.press(radio)
        box.press(BEST)
        wait_for(lambda: box.checked(BEST) == bool(best), "the box follows the click")
        box.press(1)
        box.wait_closed()
        assert _library_setting(s, "BestCompression") == best
        # The next file added is packed with the chosen method.
        name = "PACKED%s.TXT" % method.strip("-").upper()
        added = s.write("packed/" + name, "".join("line %d of a text that packs\r\n" % (i % 50) for i in range(2000)))
        app.press_tool(COMPRESS)
        add = app.dialog("圧縮ファイルの選択")
        field = next(c for c in add.controls() if c.cls == "Edit" and c.visible)
        s.desk.probe.ask("settext %d %s" % (field.hwnd, s.desk.winpath(added)))
        add.press(1)
        add.wait_closed()
        app.wait_done(lambda: name in s.archive_names(s.first), name + " added")
        assert _method(s.first, name) == method, (name, _method(s.first, name))
        tested = subprocess.run(["7zz", "t", s.first], capture_output=True, text=True)
        assert tested.returncode == 0, tested.stdout


def _library_setting(s, key):
    out = s.reg("query", r"HKCU\Software\Vantrel\unlha32", "/v", key).stdout
    value = next(line.split()[2] for line in out.splitlines() if line.split()[:1] == [key])
    return int(value, 16) if value.startswith("0x") else int(value)


def _method(archive, name):
    out = subprocess.run(["7zz", "l", "-slt", archive], capture_output=True, text=True).stdout
    block = out.split("Path = " + name + "\n", 1)[1].split("\n\n", 1)[0]
    return next(line.split(" = ")[1] for line in block.splitlines() if line.startswith("Method"))


@scenario
def about_box(s):
    app = s.app
    app.menu("ﾍﾙﾌﾟ(&H)", "バージョン情報(&A)...")
    box = app.any_dialog()
    assert "Zuvo" in box.title and re.search(r"Zuvo", box.text()), (box.title, box.text())
    box.press(1)
    box.wait_closed()


@scenario
def help_shows_the_user_guide_in_the_desktops_browser(s):
    # Help contents and F1 hand the guide beside zuvo.exe to the desktop's
    # opener (our stand-in records it); no box comes up.
    app = s.app
    for n, open_help in enumerate((lambda: app.menu("ﾍﾙﾌﾟ(&H)", "目次(&C)"), lambda: (app.focus(), s.desk.key("F1")))):
        open_help()
        page = wait_for(lambda: s.opened_files()[n:], "the guide handed to the opener")[0]
        assert os.path.basename(page) == "zuvo.html", page
        with open(page, encoding="utf-8") as f:
            text = f.read()
        assert "<h2>Commands</h2>" in text and "解凍..." in text, text[:300]
        pictures = re.findall(r'<img src="([^"]+)"', text)
        assert pictures and all(os.path.isfile(os.path.join(os.path.dirname(page), p)) for p in pictures), pictures
        assert not app.dialogs(), [w.text for w in app.dialogs()]
    assert app.running() and app.refresh().enabled


@scenario
def exit_command_saves_placement(s):
    app = s.app
    app.exit()
    assert app.proc.returncode == 0, app.proc.returncode
    assert s.setting("Window", "Right") == 840 and s.setting("Window", "IsIconic") == 0
    s.start(s.desk.winpath(s.first))
    win = s.app.refresh()
    assert (win.x, win.y, win.w, win.h) == (40, 30, 800, 600), win


def _has(box, cls):
    return any(c.cls == cls and c.visible for c in box.controls())


def _child_visible(app, cid):
    return any(c.id == cid and c.visible for c in app.desk.kids(app.main.hwnd))
