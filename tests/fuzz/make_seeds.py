#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora into tests/fuzz/corpus/<what>/.

Each seed is laid out as its target reads its input (see the targets'
sources): texts are UTF-16LE, numbers little-endian. Run it again after a
change of layout. Beside the seeds, each folder keeps the inputs of longer
fuzzing runs that reached new code (named by their hash, merged with
libFuzzer's -merge=1); scripts/fuzz works on copies and never writes here.
"""
import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parent / "corpus"
PADDING_MARK = 0xFF


def u16(text):
    return text.encode("utf-16-le", "surrogatepass")


def plain(text):
    """A PaddedText without padding."""
    return b"\x00" + u16(text)


def padded(count, fill, text):
    """A PaddedText of count fill characters, then text."""
    return bytes([PADDING_MARK]) + struct.pack("<HH", count, ord(fill)) + u16(text)


def write(what, seeds):
    """Replaces the seeds of a target; the inputs its fuzzer found stay."""
    folder = ROOT / what
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.glob("seed-*"):
        old.unlink()
    for number, seed in enumerate(seeds):
        (folder / f"seed-{number:02}").write_bytes(seed)


NAMES = ["C:\\Temp\\a.txt", "a b.txt", " \t..\\x.txt \r\n", "C:\\100%.txt",
         "C:\\caf\u00e9\\\u4e2d.txt", "\\\\server\\share\\a b", "\\\\?\\C:\\x", "\"q\"",
         "C:\\a?b#c", "\\\\localhost\\C$\\x", "", "   "]
URIS = ["file:///C:/Temp/a.txt", "  file:///C:/Temp/a%20b.txt\t", "file:///C:/a\uff0520b",
        "file://server/share/a", "file://localhost/C:/x", "file:////x/y", "file:/C|/x",
        "file://///s/x%26y", "http://example.com/a", "file:", "file:///C:/%00x", "",
        "file:///C:/a%22%20%26%20b", "file:///C:/x%25@len[abcdef]%25.txt",
        # names whose "%" signs, doubled, take 8,191 characters and one more
        "file:///C:/" + "%" * 4094, "file:///C:/" + "%" * 4095]
URLS = ["http://example.com", "HTTPS://x", " http://x", "ftp://x", "iftps://x", "mailto:a@b",
        "C:\\Temp", "a:b", "x+y.z-w:q", ""]
ARGUMENTS = ["/q/s", "/S! ctrl-alt-k", "/x://a/b", "\"ctrl alt\" /d", "a\"\"\"\"b",
             "  a   b  ", "\u00e9t\u00e9 stra\u00dfe", "\" a\"", "/1://a/b"]
KEYNAMES = ["Ctrl-Alt-U", "ctrl-alt-shift-f12", "Num-", "Ctrl-Num-", "Alt--", "-", "s-c-Up",
            "Control-Alt-PgDn", "Ctrl-Alt-Minus", "None", "Shift-Tab", "Alt-Shift-x"]
COMMANDS = ["", "/?", "/??", "/l", "/d", "/r", "/s", "/s!", "none", "ctrl-alt-k /s",
            "/q/s ctrl-alt-f1", "/d /r", "/l /s", "/x", "ctrl-alt-u ctrl-alt-k", "Alt-Shift-U"]


# Names whose URIs, "%" doubled, take 8,191 characters ("#" is "%23") and
# one more than fits.
LONG_NAMES = ["C:\\" + "#" * 2045, "C:\\" + "#" * 2046, "C:\\" + "#" * 2100]


def seeds_of_functions(texts):
    seeds = [b"\x00" + plain(t) for t in texts]
    seeds.append(b"\x00" + padded(8190, "a", "C:\\"))
    seeds.append(b"\x01" + padded(8192, "%", ""))  # no terminator in the buffer
    return seeds


def registry_value(value_type, data):
    return bytes([value_type, len(data)]) + data


def seeds_of_marivexkey():
    seeds = [b"\x00" + plain(c) for c in COMMANDS]
    seeds.append(b"\x01" + plain("ctrl-alt-shift-u /s"))
    seeds.append(b"\x02" + registry_value(4, struct.pack("<I", 0x50017)) + plain("/r"))
    seeds.append(b"\x04" + registry_value(4, b"\x17\x00") + plain("/r"))
    seeds.append(b"\x0c" + registry_value(1, b"x\x00") + plain("/s!"))
    seeds.append(b"\x00" + padded(8191, "x", ""))
    seeds.append(b"\x00" + padded(2046, " ", "x " * 1030))
    # flags 16: " /Q /S" appended (32: " /Q /S!"); 64: no hotkey in force, 128: Ctrl-Alt-K
    seeds.append(b"\x10" + plain("ctrl-alt-j"))
    seeds.append(b"\x31" + plain("/d"))
    seeds.append(b"\x82" + registry_value(4, struct.pack("<I", 0x50017)) + plain("/d /x"))
    seeds.append(b"\x40" + plain("/r /q"))
    return seeds


def hook_seed(flags, line, cursor, hotkey=0x50016, code=0x10016, label=""):
    """line: a text, or the bytes of a PaddedText."""
    # flags: 1 extended, 2 shift, 4 ctrl, 8 alt, 16 with label, 32 unterminated, 64 redraw
    text = line if isinstance(line, bytes) else plain(line)
    return (bytes([flags]) + struct.pack("<I", hotkey) + bytes([1]) + struct.pack("<I", code) +
            struct.pack("<I", cursor + 4) + bytes([len(label)]) + u16(label) + text)


def seeds_of_hook():
    ctrl_alt = 4 | 8
    return [
        hook_seed(ctrl_alt, "type C:\\Temp\\a.txt more", 10),
        hook_seed(ctrl_alt, "type \"a b.txt\" x", 8),
        hook_seed(ctrl_alt, "type file:///C:/Temp/a%%20b.txt x", 10),
        hook_seed(ctrl_alt, "type file://localhost/", 6),
        hook_seed(ctrl_alt, "type  a.txt", 5),
        hook_seed(ctrl_alt, "", 0),
        hook_seed(1 | 16 | ctrl_alt, "a", 1, hotkey=0x508BD, label="Alt-Minus"),
        hook_seed(1 | 2 | 4 | 8, "x C:\\y", 3),
        hook_seed(0, "type a.txt", 6, hotkey=0x10086, code=0x10086),
        hook_seed(ctrl_alt | 32, "x", 0),
        hook_seed(ctrl_alt, padded(65522, "p", " C:\\x"), 65527),
        hook_seed(ctrl_alt, padded(65523, "p", " C:\\x"), 65528),
        # A name that would hold a double quote; names and URIs with "%".
        hook_seed(ctrl_alt, "echo file:///C:/Users/a%%22%%20%%26%%20echo%%20INJECTED"
                  "%%20%%26%%20rem%%20%%22.txt", 5),
        hook_seed(ctrl_alt, "type file:///C:/x%%25@len[abcdef]%%25.txt", 5),
        hook_seed(ctrl_alt, "type C:\\Files\\50%%b%%off.txt", 5),
        hook_seed(ctrl_alt, "type " + LONG_NAMES[0], 5),
        hook_seed(ctrl_alt, "type " + LONG_NAMES[1], 5),
    ]


def seeds_of_registry_store():
    """A root byte (1: HKEY_LOCAL_MACHINE) and a file's text."""
    header = "Windows Registry Editor Version 5.00\r\n"
    hotkey = "\r\n[HKEY_CURRENT_USER\\Software\\RUDadurad\\Marivex]\r\n\"Hotkey\"=dword:00050016\r\n"
    values = ("\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n"
              "@=\"x \\\"quoted\\\" \\\\ text\"\r\n"
              "\"b\"=hex:01,02,\\\r\n  03\r\n"
              "\"B2\"=hex(b):00,00,00,00,00,00,00,00\r\n"
              "\"Short\"=hex(4):34,12\r\n"
              "\"Text\"=hex(1):e9,00,00,00\r\n"
              "\"None\"=hex(0):\r\n"
              "\r\n[HKEY_CURRENT_USER]\r\n\"Root\"=dword:1\r\n"
              "\r\n[HKEY_LOCAL_MACHINE\\Software\\B]\r\n\"c\"=dword:0000000A\r\n"
              "\r\n[-HKEY_CURRENT_USER\\Software\\C]\r\n\"d\"=-\r\n; comment\r\n")
    texts = [header, header + hotkey, header + values, header.replace("\r", "") + hotkey.replace("\r", ""),
             "REGEDIT4\r\n" + hotkey]
    return [bytes([root]) + text.encode() for text in texts for root in (0, 1)]


def host_seed(batch_files, steps):
    return bytes([len(batch_files)]) + u16("\0".join(batch_files + steps))


def key_step(code, modifiers, cursor, line):
    return ("\u0001" + chr(code & 0xFFFF) + chr(code >> 16) + chr(modifiers) + chr(cursor) + line)


NESTED_EXPANSION = ["echo %@file2uri[C:\\a b.txt]", "echo %@uri2file[%@file2uri[C:\\a b.txt]]",
                    "set b=hello", "set a=%%b", "echo %a", "set u=%@file2uris[C:\\x y.txt]",
                    "echo %@uri2file[%u]", "set a=%%a", "echo %a"]


def seeds_of_host():
    return [
        host_seed([], ["echo %@file2uri[a b.txt] %@isurl[http://x] %@uri2file[file:///C:/x]"]),
        host_seed([], ["marivexkey /l", "marivexkey ctrl-alt-k /s", "marivexkey /r", "marivexkey"]),
        host_seed([], ["set x=%@file2uris[%_cwd]", "echo %x% %?", "cd ..", "ver", "exit 3"]),
        host_seed(["@echo off\r\necho %0 %1 %_batchname %_batchline\r\n%@uri2file[]\r\ncall b.btm\r\n",
                   "marivexkey /x\r\ncall a.btm\r\n"], ["call a.btm one two", "a.btm", "call nothere.btm"]),
        host_seed([], [key_step(0x10016, 6, 5, "type C:\\Temp\\a.txt"),
                       key_step(0x10016, 6, 10, "type file:///C:/x%%20y")]),
        host_seed(["call a.btm\r\n"], ["call a.btm"]),
        # Found by fuzz_host: a batch file calling itself by its name written
        # twice doubled the line at every level until memory ran out.
        host_seed(["call %_batchname%%_batchname%\r\n"], ["call a.btm", "set x=%x%%x%"]),
        host_seed([], ["echo %@file2uri[%@uri2file[file:///C:/%%41]]", "unset x", "set"]),
        # References nested to the bound (64) and one past it, and openings
        # never closed, which the shell once matched again for each one.
        host_seed([], ["echo " + "%@len[" * 64 + "]" * 64, "echo " + "%[" * 65 + "x" + "]" * 65,
                       "echo " + "%[%@len[" * 33 + "]]" * 33, "echo " + "%[" * 2000]),
        # Names that come back from their URIs ("\2"), also after a change of drive.
        host_seed([], ["\u0002C:\\Temp\\a b.txt", "\u0002 ..\\x;y#1.txt ", "cd D:\\",
                       "\u0002caf\u00e9\\\u4e2d\u00a0&.txt"]),
        # The hotkey ("\3") on names and URIs with "%" and a quote; a URI too
        # long to return.
        host_seed([], ["set b=SURPRISE", "\u0003C:\\Files\\50%%b%%off.txt",
                       "\u0003file:///C:/x%%25@len[abcdef]%%25.txt",
                       "\u0003file:///C:/a%%22%%20%%26%%20b", "\u0003file:///C:/a%%20b",
                       "echo %@file2uri[" + LONG_NAMES[1] + "]"]),
        # Values and results expanded again (nested expansion), and once
        # only after "setdos /x-4"; a value naming itself stops at the bound.
        host_seed([], NESTED_EXPANSION),
        host_seed([], ["setdos /x-4"] + NESTED_EXPANSION + ["setdos /x0", "echo %a", "setdos /x+5"]),
        # Forty values that each name the next twice: 2^40 lookups unless the
        # rescans of a line are bounded.
        host_seed(["".join(f"set v{k}=%%v{k + 1}%%%%v{k + 1}%%\r\n" for k in range(40)) +
                   "echo %v0\r\n"], ["call a.btm"]),
    ]


def seeds_of_demo_keys():
    """A scheme byte (1: extended) and the bytes a terminal sends."""
    return [
        b"\x01" + b"type C:\\Temp\\a.txt" + b"\x1b\x15" * 2,
        b"\x00" + b'type "a b"' + b"\x1b[D\x1b[D\x1b\x15\x1b[1;5C\x1b[3~\x7f",
        b"\x01\x1b[27;5;45~\x1bOP\x1b[15;2~\x1b[1;8A\x1b[45;5u" + "\u00e9\u4e2d".encode() + b"\x1b",
        b"\x01" + b"x" * 40 + b"\x01\x0b\x05\x15\x1b[H\x1b[F\x08\x1b",
    ]


def main():
    write("file2uri", seeds_of_functions(NAMES + LONG_NAMES))
    write("uri2file", seeds_of_functions(URIS))
    write("isurl", seeds_of_functions(URLS))
    write("arguments", [plain(a) for a in ARGUMENTS] +
          [padded(8191, "w", ""), padded(8190, "w", " v"), padded(2046, " ", "x " * 1030)])
    write("keyname", [plain(k) for k in KEYNAMES] + [padded(1023, "x", "-U")])
    write("marivexkey", seeds_of_marivexkey())
    write("hook", seeds_of_hook())
    write("registry_store", seeds_of_registry_store())
    write("host", seeds_of_host())
    write("demo_keys", seeds_of_demo_keys())


if __name__ == "__main__":
    main()
