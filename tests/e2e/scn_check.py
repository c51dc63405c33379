"""Testing an archive with damaged entries (a flipped byte, a method nobody
knows, data cut short) from the toolbar and from the menu on a selection, and
the properties of an entry whose name code page 932 cannot spell."""
import struct
import time

from harness import Dialog
from session import scenario, wait_for

OPEN, TEST = 57601, 32810
SUMMARY, FINDINGS = 1100, 1101


def crc16(data):
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def entry(name, data, method=b"-lh0-", folder=b"", unicode_name=None, os_id=b"M", when=1700000000, damage=None):
    """One stored entry with a level 2 header; `damage` changes the data
    after its CRC is taken."""
    exts = [(0x00, b"\0\0"), (0x01, name)]
    if folder:
        exts.append((0x02, folder.replace(b"\\", b"\xff")))
    if unicode_name:
        exts.append((0x44, unicode_name.encode("utf-16-le")))
    sizes = [1 + len(body) + 2 for _, body in exts]
    total = 26 + sum(sizes)
    assert total % 256, "a level 2 header of a multiple of 256 bytes needs padding"
    stored = damage(data) if damage else data
    head = struct.pack("<H5sIIIBBHBH", total, method, len(stored), len(data), when, 0x20, 2, crc16(data), os_id[0],
                       sizes[0])
    for i, (kind, body) in enumerate(exts):
        head += bytes([kind]) + body + struct.pack("<H", sizes[i + 1] if i + 1 < len(exts) else 0)
    crc = crc16(head)
    head = head[:27] + struct.pack("<H", crc) + head[29:]
    return head + stored


def flip(data):
    return data[:40] + bytes([data[40] ^ 0x55]) + data[41:]


def setup(s):
    s.forget_settings()
    s.place_window(20, 20, 900, 650)
    damaged = (entry(b"sound.txt", b"all is well\r\n" * 10) +
               entry(b"flipped.txt", b"one byte of this will change\r\n" * 8, folder=b"docs\\", damage=flip) +
               entry(b"strange.bin", b"packed by a method nobody knows", method=b"-zz9-"))
    cut = entry(b"cut.txt", b"this entry ends early\r\n" * 20)
    s.damaged = s.path("DAMAGED.LZH")
    with open(s.damaged, "wb") as f:
        f.write(damaged + cut[:len(cut) - 200])
    s.when = 1600000000
    s.coffee = b"coffee with milk\r\n" * 100
    s.unicode = s.path("UNICODE.LZH")
    with open(s.unicode, "wb") as f:
        f.write(entry(b"cafe creme.txt", s.coffee, folder=b"docs\\", unicode_name="caf\u00e9 cr\u00e8me.txt",
                      os_id=b"U", when=s.when) + b"\0")
    s.start(s.desk.winpath(s.unicode))


@scenario
def properties_show_the_exact_unicode_name_and_stored_facts(s):
    app = s.app
    wait_for(lambda: "docs\\" in app.tree_paths(), "the folder of UNICODE.LZH in the tree")
    app.select_node("docs\\")
    listed = "caf<U+00E9> cr<U+00E8>me.txt"
    wait_for(lambda: app.names() == [listed], "the entry's row")
    app.select_rows([listed])
    app.desk.key("alt+Return")
    box = app.dialog("プロパティ")
    values = {c.id: c.text for c in box.controls() if 1110 <= c.id <= 1120}
    expected = {1110: "caf\u00e9 cr\u00e8me.txt", 1111: "docs\\", 1112: "1,800", 1113: "1,800", 1114: "100%",
                1115: "-lh0-", 1116: "2", 1117: "UNIX", 1118: "%04X" % crc16(s.coffee), 1119: "----a",
                1120: time.strftime("%Y/%m/%d %H:%M:%S", time.localtime(s.when))}
    assert values == expected, values
    s.desk.picture("properties", box.window)
    box.press(1)
    box.wait_closed()


def _result(s):
    box = s.app.dialog("検査結果")
    return box, box.text(), box.control(cid=FINDINGS).text


@scenario
def testing_names_each_damaged_entry_and_its_fault(s):
    app = s.app
    app.press_tool(OPEN)
    box = app.dialog("開く")
    name_field = next(c for c in box.controls() if c.cls == "Edit" and c.visible)
    s.desk.probe.ask("settext %d %s" % (name_field.hwnd, s.desk.winpath(s.damaged)))
    box.press(1)
    box.wait_closed()
    # Opening says the archive ends early; the entries before the cut are listed.
    app.dialog("UNLHA32.DLL").press(text="OK")
    wait_for(lambda: sorted(app.names()) == ["cut.txt", "sound.txt", "strange.bin"], "the root's entries")
    app.press_tool(TEST)
    box, summary, findings = _result(s)
    assert "4 個のファイルを検査しました" in summary and "3 個のファイルが壊れています" in summary, summary
    lines = findings.replace("\r\n", "\n").strip().split("\n")
    assert sorted(lines) == ["cut.txt: データが途中で切れています", "docs\\flipped.txt: CRC エラー (内容が壊れています)",
                             "strange.bin: 対応していない圧縮形式です"], lines
    s.desk.picture("test-result", box.window)
    box.press(1)
    box.wait_closed()
    # The selected rows alone, from the menu.
    app.select_rows(["sound.txt"])
    app.menu("編集(&E)", "選択したファイルの検査(&S)...")
    box, summary, findings = _result(s)
    assert "1 個のファイルを検査しました" in summary and "壊れているファイルはありません" in summary, summary
    assert findings.strip() == "", findings
    box.press(1)
    box.wait_closed()
    # The properties of a row of the damaged archive: the damage is not told again.
    app.desk.key("alt+Return")
    box = app.dialog("プロパティ")
    assert [w.text for w in app.dialogs()] == ["プロパティ"], [w.text for w in app.dialogs()]
    box.press(1)
    box.wait_closed()
