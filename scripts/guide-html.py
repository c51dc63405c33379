#!/usr/bin/env python3
"""Makes the help page from the README's user guide (the section "## User
guide" up to the next "## " heading): the Markdown that section uses
(headings, paragraphs, lists, tables, code, pictures) as one HTML page.

    guide-html.py README.md OUT.html
"""
import html
import re
import sys

TITLE = "Zuvo user guide"


def inline(text):
    out = []
    for i, part in enumerate(re.split(r"(`[^`]*`)", text)):
        if i % 2:
            out.append("<code>%s</code>" % html.escape(part[1:-1]))
            continue
        part = html.escape(part, quote=False)
        part = re.sub(r"!\[([^\]]*)\]\(([^)]+)\)",
                      lambda m: '<img src="%s" alt="%s">' % (m.group(2), m.group(1)), part)
        part = re.sub(r"\[([^\]]+)\]\(([^)]+)\)", r'<a href="\2">\1</a>', part)
        part = re.sub(r"\*\*([^*]+)\*\*", r"<strong>\1</strong>", part)
        out.append(part)
    return "".join(out)


def cells(line):
    return [c.strip() for c in line.strip().strip("|").split("|")]


def guide_lines(readme):
    lines = readme.splitlines()
    try:
        start = lines.index("## User guide")
    except ValueError:
        raise SystemExit("guide-html: no \"## User guide\" section")
    end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("## ")), len(lines))
    return lines[start + 1:end]


def convert(lines):
    out, para, i = [], [], 0

    def flush():
        if para:
            out.append("<p>%s</p>" % inline(" ".join(para)))
            para.clear()

    while i < len(lines):
        line = lines[i]
        if not line.strip():
            flush()
            i += 1
        elif line.startswith("#"):
            flush()
            level = len(line) - len(line.lstrip("#"))
            out.append("<h%d>%s</h%d>" % (level - 1, inline(line[level:].strip()), level - 1))
            i += 1
        elif line.startswith("|"):
            flush()
            rows = []
            while i < len(lines) and lines[i].startswith("|"):
                if not re.fullmatch(r"[|\s:-]+", lines[i]):
                    rows.append(cells(lines[i]))
                i += 1
            out.append("<table>")
            for n, row in enumerate(rows):
                tag = "th" if n == 0 else "td"
                out.append("<tr>%s</tr>" % "".join("<%s>%s</%s>" % (tag, inline(c), tag) for c in row))
            out.append("</table>")
        elif line.startswith("- "):
            flush()
            items = []
            while i < len(lines) and (lines[i].startswith("- ") or lines[i].startswith("  ")):
                if lines[i].startswith("- "):
                    items.append(lines[i][2:].strip())
                else:
                    items[-1] += " " + lines[i].strip()
                i += 1
            out.append("<ul>%s</ul>" % "".join("<li>%s</li>" % inline(t) for t in items))
        elif line.startswith("    "):
            flush()
            block = []
            while i < len(lines) and (lines[i].startswith("    ") or not lines[i].strip()):
                block.append(lines[i][4:])
                i += 1
            out.append("<pre>%s</pre>" % html.escape("\n".join(block).rstrip("\n")))
        else:
            para.append(line.strip())
            i += 1
    flush()
    return out


def main(readme_path, out_path):
    with open(readme_path, encoding="utf-8") as f:
        body = convert(guide_lines(f.read()))
    page = ["<!DOCTYPE html>", '<html lang="ja">', "<head>", '<meta charset="utf-8">',
            "<title>%s</title>" % TITLE,
            "<style>body{font-family:sans-serif;max-width:60em;margin:1em auto;padding:0 1em}"
            "table{border-collapse:collapse}td,th{border:1px solid #aaa;padding:.2em .5em;"
            "text-align:left;vertical-align:top}img{max-width:100%}code{background:#eee}</style>",
            "</head>", "<body>", "<h1>%s</h1>" % TITLE] + body + ["</body>", "</html>", ""]
    with open(out_path, "w", encoding="utf-8") as f:
        f.write("\n".join(page))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    main(sys.argv[1], sys.argv[2])
