# Splits a desktop entry's Exec value into arguments as the Desktop Entry
# Specification says a launcher must (string escapes, then double quotes with
# backslash escapes), and puts FILE in place of %f.
#   python3 exec_line.py ENTRY.desktop FILE   prints one argument per line
import sys

def value_of(path, key):
    group = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("["):
                group = line
            elif group == "[Desktop Entry]" and line.startswith(key + "="):
                return line[len(key) + 1:]
    raise SystemExit("no " + key)

def unescape_string(s):
    out, i = [], 0
    table = {"s": " ", "n": "\n", "t": "\t", "r": "\r", "\\": "\\"}
    while i < len(s):
        if s[i] == "\\" and i + 1 < len(s) and s[i + 1] in table:
            out.append(table[s[i + 1]])
            i += 2
        else:
            out.append(s[i])
            i += 1
    return "".join(out)

def split_exec(s, file):
    args, cur, i, quoted, have = [], [], 0, False, False
    while i < len(s):
        c = s[i]
        if quoted:
            if c == "\\" and i + 1 < len(s) and s[i + 1] in '"`$\\':
                cur.append(s[i + 1]); i += 2; continue
            if c == '"':
                quoted = False
            else:
                cur.append(c)
        elif c == '"':
            quoted, have = True, True
        elif c == " ":
            if cur or have:
                args.append("".join(cur))
            cur, have = [], False
        elif c == "%" and i + 1 < len(s):
            code = s[i + 1]
            i += 2
            if code == "%":
                cur.append("%")
            elif code in "fFuU":
                cur.append(file)
            continue
        else:
            cur.append(c)
        i += 1
    if quoted:
        raise SystemExit("unclosed quote in Exec")
    if cur or have:
        args.append("".join(cur))
    return args

for arg in split_exec(unescape_string(value_of(sys.argv[1], "Exec")), sys.argv[2]):
    print(arg)
