#!/usr/bin/python3
"""Runs the examples of a guide through the demo host and fails on any
difference from what the guide shows.

    check_examples.py MARIVEX_HOST GUIDE.md

Two kinds of fenced block are examples; every other block is left alone.

```tcc [no-admin] [version=TEXT]
> command            what the user types; each block is one session of the
output               demo, with a registry of its own
...                  stands for any number of lines
```

A first command "plugin /l FILE" stands for loading the plug-in: what it
shows is what the demo prints when it starts. With "no-admin" the machine's
registry refuses changes, as it does for a user without administrator rights.
With "version=23.00" the demo stands for that version of TCC (the default is
33.00).

```hotkey
Typed:            the command line as typed, the cursor at its end
After Ctrl-Alt-U: the command line after the hotkey, one line per press
Prints:           a message that the press before writes (optional)
```

Output is compared line by line, tabs expanded and trailing blanks dropped.
"""
import fcntl
import os
import pty
import re
import select
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import time

MARKER = "@@example@@"
PROMPT_AT_START = re.compile(r"^[A-Za-z]:\\[^\n>]*>")
PROMPT_AT_END = re.compile(r"[A-Za-z]:\\[^\n>]*>\n?$")
CTRL_ALT_U = b"\x1b\x15"  # Alt arrives as ESC before the key


def examples(guide):
    """(line number, kind, options, lines) of each example block."""
    blocks = []
    lines = guide.split("\n")
    i = 0
    while i < len(lines):
        opening = re.match(r"^```(tcc|hotkey)\b(.*)$", lines[i])
        i += 1
        if not opening:
            continue
        start = i
        while i < len(lines) and lines[i] != "```":
            i += 1
        blocks.append((start, opening.group(1), opening.group(2).split(), lines[start:i]))
        i += 1
    return blocks


def normalise(text):
    lines = [line.expandtabs(8).rstrip() for line in text.replace("\r\n", "\n").split("\n")]
    while lines and not lines[-1]:
        lines.pop()
    return lines


def matches(expected, actual):
    pattern = "".join(r"(?:.*\n)*?" if line == "..." else re.escape(line) + r"\n"
                      for line in expected)
    return re.fullmatch(pattern, "".join(line + "\n" for line in actual)) is not None


def session_environment(folder, options):
    env = dict(os.environ, HOME=folder, XDG_STATE_HOME=folder, TERM="xterm",
               MARIVEX_REGISTRY_HKCU=os.path.join(folder, "HKCU.reg"),
               MARIVEX_REGISTRY_HKLM=os.path.join(folder, "HKLM.reg"))
    if "no-admin" in options:
        # A registry file nobody may write: its root refuses every change.
        with open(env["MARIVEX_REGISTRY_HKLM"], "w", encoding="utf-8"):
            pass
        os.chmod(env["MARIVEX_REGISTRY_HKLM"], 0o444)
    return env


def run_session(host, block, options):
    """[(command, expected lines, actual lines)] of one tcc block."""
    steps = []
    for line in block:
        if line.startswith("> "):
            steps.append((line[2:], []))
        elif steps:
            steps[-1][1].append(line)
        else:
            raise ValueError(f"output before the first command: {line!r}")
    load = bool(steps) and steps[0][0].lower().startswith("plugin /l ")
    commands = [command for command, _ in steps[1 if load else 0:]]
    stdin = "".join(f"echo {MARKER}\n{command}\n" for command in commands)
    arguments = [host]
    for option in options:
        if option.startswith("version="):
            arguments += ["--host-version", option[len("version="):]]
    with tempfile.TemporaryDirectory() as folder:
        # One pipe for both: the demo flushes every write, so the order holds.
        result = subprocess.run(arguments, input=stdin.encode("utf-8"), stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, env=session_environment(folder, options),
                                timeout=60)
    output = result.stdout.decode("utf-8").replace("\r\n", "\n")
    parts = output.split(MARKER + "\n")
    startup = PROMPT_AT_END.sub("", parts[0])
    outputs = [PROMPT_AT_END.sub("", PROMPT_AT_START.sub("", part)) for part in parts[1:]]
    if load:
        outputs.insert(0, startup)
    if len(outputs) != len(steps):
        raise ValueError(f"the demo's output did not split into {len(steps)} commands:\n{output}")
    return [(command, expected, normalise(actual))
            for (command, expected), actual in zip(steps, outputs)]


def read_until_quiet(fd, quiet=0.5, limit=20.0):
    """What the demo writes until it has been silent for `quiet` seconds."""
    output = b""
    deadline = time.monotonic() + limit
    while time.monotonic() < deadline:
        ready, _, _ = select.select([fd], [], [], quiet)
        if not ready:
            break
        try:
            chunk = os.read(fd, 4096)
        except OSError:
            break
        if not chunk:
            break
        output += chunk
    return output


def edited_line(screen):
    """The command line as the demo's line editor last drew it: after the
    last erase to the end of the screen, up to the cursor's return; None when
    it did not draw the line again."""
    text = screen.decode("utf-8", "replace")
    start = text.rfind("\x1b[J")
    if start < 0:
        return None
    return re.split(r"[\r\x1b\a]", text[start + 3:])[0]


def printed_text(screen):
    """What the demo wrote, without its terminal controls."""
    text = screen.decode("utf-8", "replace")
    return re.sub(r"\x1b\[[0-9;?]*[A-Za-z]|[\r\a]", "", text)


def run_hotkey(host, block):
    """[(what was done, expected, actual)] of one hotkey block."""
    steps = [(label, text.strip()) for label, text in
             (line.split(":", 1) for line in block if line.strip())]
    labels = [label for label, _ in steps]
    if (not steps or labels[0] != "Typed" or labels[1:2] != ["After Ctrl-Alt-U"] or
            any(label not in ("After Ctrl-Alt-U", "Prints") for label in labels[1:]) or
            any(a == b == "Prints" for a, b in zip(labels, labels[1:]))):
        raise ValueError("a hotkey example is a Typed: line and After Ctrl-Alt-U: lines, "
                         "each with at most one Prints: line after it")
    typed = steps[0][1]
    with tempfile.TemporaryDirectory() as folder:
        env = session_environment(folder, [])
        pid, fd = pty.fork()
        if pid == 0:
            os.execve(host, [host], env)
        try:
            fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", 50, 250, 0, 0))
            read_until_quiet(fd)
            os.write(fd, typed.encode("utf-8"))
            read_until_quiet(fd)
            results = []
            line = typed
            screen = b""
            for label, expected in steps[1:]:
                if label == "Prints":
                    printed = printed_text(screen)
                    results.append((label, expected, expected if expected in printed else printed))
                    continue
                os.write(fd, CTRL_ALT_U)
                screen = read_until_quiet(fd)
                # A line the demo did not draw again is the line as it was.
                drawn = edited_line(screen)
                line = line if drawn is None else drawn
                results.append((label, expected, line))
            return results
        finally:
            os.kill(pid, signal.SIGTERM)
            os.waitpid(pid, 0)
            os.close(fd)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: check_examples.py MARIVEX_HOST GUIDE.md")
    host, guide_path = sys.argv[1], sys.argv[2]
    with open(guide_path, encoding="utf-8") as guide:
        blocks = examples(guide.read())
    failures = 0
    checked = 0
    for line_number, kind, options, block in blocks:
        where = f"{guide_path}:{line_number + 1}"
        try:
            if kind == "tcc":
                for command, expected, actual in run_session(host, block, options):
                    checked += 1
                    if not matches(expected, actual):
                        failures += 1
                        print(f"{where}: > {command}\n  the guide shows:\n    " +
                              "\n    ".join(expected) + "\n  the demo prints:\n    " +
                              "\n    ".join(actual))
            else:
                for label, expected, actual in run_hotkey(host, block):
                    checked += 1
                    if expected != actual:
                        failures += 1
                        print(f"{where}: {label}\n  the guide shows: {expected}\n"
                              f"  the demo shows:  {actual}")
        except (ValueError, subprocess.TimeoutExpired) as problem:
            failures += 1
            print(f"{where}: {problem}")
    if checked == 0:
        failures += 1
        print(f"{guide_path}: no examples found")
    print(f"{checked} examples checked, {failures} differ")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
