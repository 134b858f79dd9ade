#!/usr/bin/env python3
"""The window program at a real X display, used as a person uses it.

Xvfb provides the display, qel runs on Qt's xcb platform, and xdotool sends real key presses
through XTest, so that the X server, Qt's input handling, focus, shortcuts and menus all take
part. Every path runs twice: without a window manager and under openbox.

Usage: real_display_test.py BUILD_DIR   (exit 0: all passed; 77: a tool is missing)
       REAL_DISPLAY_ONLY=path,path real_display_test.py BUILD_DIR   (those paths alone)
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
QEL = os.path.join(BUILD, "qel")
BUILDER = os.path.join(BUILD, "RIDOZAD")
MERGER = os.path.join(BUILD, "RAVAZAV")
CLI = os.path.join(BUILD, "qel-cli")
DEFAULT_DICTIONARY = os.path.join(BUILD, "Dictionaries", "Devuduvodi.qcd")
TOOLS = ["Xvfb", "xdotool", "xclip", "openbox"]

FIRST_WORDS = ["electron", "election", "tail", "tonight", "toting", "tiding", "mountain"]
SECOND_WORDS = ["electron", "elation", "tall", "tiling"]


class Failure(Exception):
    pass


def run(args, env, timeout=20, check=True):
    done = subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)
    if check and done.returncode != 0:
        raise Failure(f"{' '.join(args)}: exit {done.returncode}: {done.stderr.strip()}")
    return done.stdout


class Display:
    """An X server of our own, optionally with a window manager, and a qel on it."""

    def __init__(self, folder, window_manager):
        self.folder = folder
        read, write = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                raise Failure("Xvfb did not start")
            number += chunk
        os.close(read)
        home = os.path.join(folder, "home")
        os.makedirs(os.path.join(home, ".config", "Pendrick Limited"), exist_ok=True)
        self.env = dict(os.environ, DISPLAY=":" + number.decode().strip(), HOME=home,
                        XDG_CONFIG_HOME=os.path.join(home, ".config"),
                        XDG_CACHE_HOME=os.path.join(home, ".cache"),
                        XDG_RUNTIME_DIR=os.path.join(folder, "runtime"),
                        QT_QPA_PLATFORM="xcb", LANG="C.UTF-8")
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
        self.manager = None
        if window_manager:
            self.manager = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL)
            time.sleep(0.5)
        self.qel = None

    def settings(self, text):
        path = os.path.join(self.env["XDG_CONFIG_HOME"], "Pendrick Limited",
                            "QEL Devuduvodi 2.5.conf")
        with open(path, "w") as f:
            f.write(text)

    def start(self, *dictionaries):
        # The first-start windows stay closed: each path opens what it needs.
        self.settings("[General]\nQuickReference=0\nStartupTips=0\n")
        self.qel = subprocess.Popen([QEL, *dictionaries], env=self.env,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.main = self.wait_for_window(" - QEL$")
        self.focus(self.main)

    def start_program(self, program, title):
        """A companion program, on its own: its window focused."""
        self.settings("[General]\n")
        self.qel = subprocess.Popen([program], env=self.env, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.PIPE)
        self.main = self.wait_for_window(title)
        self.focus(self.main)

    def wait_for_window(self, name, timeout=15):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = run(["xdotool", "search", "--onlyvisible", "--name", name], self.env,
                        check=False).split()
            if found:
                return found[-1]
            self.check_alive()
            time.sleep(0.1)
        raise Failure(f"no window named /{name}/ appeared")

    def focus(self, window):
        if self.manager:
            run(["xdotool", "windowactivate", "--sync", window], self.env, check=False)
        else:
            run(["xdotool", "windowfocus", "--sync", window], self.env)
        time.sleep(0.2)

    def keys(self, *keys):
        for key in keys:
            run(["xdotool", "key", "--delay", "60", key], self.env)
            time.sleep(0.15)

    def type(self, text):
        run(["xdotool", "type", "--delay", "30", text], self.env)
        time.sleep(0.2)

    def title(self, window):
        return run(["xdotool", "getwindowname", window], self.env).strip()

    def clipboard(self):
        return run(["xclip", "-o", "-selection", "clipboard"], self.env, check=False)

    def check_alive(self):
        if self.qel and self.qel.poll() is not None:
            raise Failure(f"qel ended with {self.qel.returncode}: {self.qel.stderr.read()[-400:]}")

    def close(self):
        for process in (self.qel, self.manager, self.server):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()


def expected(pattern, *dictionaries):
    return run([CLI, "search", "--entries-only", pattern, *dictionaries], os.environ,
               check=False).splitlines()


def wait_until(what, test, timeout=10):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if test():
            return
        time.sleep(0.1)
    raise Failure(what)


def search(display, pattern, enter="Return"):
    display.keys("F4", "ctrl+a", "Delete")
    display.type(pattern)
    display.keys(enter)
    time.sleep(0.5)


def copied_results(display, pane=1):
    """The pane's results as Ctrl+C puts them on the clipboard, one per line."""
    display.keys(f"alt+{pane}", "ctrl+a", "ctrl+c")
    time.sleep(0.3)
    return display.clipboard().splitlines()


def return_searches(display, first, second):
    display.start(first)
    search(display, "t*ing")
    got = copied_results(display)
    if got != expected("t*ing", first):
        raise Failure(f"Return: clipboard {got} instead of {expected('t*ing', first)}")


def keypad_enter_searches(display, first, second):
    display.start(first)
    search(display, ".l...r.n", enter="KP_Enter")
    got = copied_results(display)
    if got != ["electron"]:
        raise Failure(f"keypad Enter: clipboard {got}")


def close_with_a_result_focused(display, first, second):
    display.start(first, second)
    search(display, "t*")
    display.keys("alt+1", "Down", "alt+f", "c")
    time.sleep(0.5)
    display.check_alive()
    wait_until("the closed dictionary's pane went",
               lambda: display.title(display.main) == "second - QEL")


def opening_keeps_the_results(display, first, second):
    display.start(first)
    search(display, "t*")
    before = copied_results(display)
    display.keys("ctrl+o")
    dialog = display.wait_for_window("^Dictionary File Selection$")
    display.focus(dialog)
    display.type(second)
    display.keys("Return")
    wait_until("the second dictionary opened",
               lambda: display.title(display.main) == "first, second - QEL")
    display.focus(display.main)
    after = copied_results(display)
    if after != before or not before:
        raise Failure(f"opening a dictionary changed the first pane: {before} -> {after}")


def save_results(display, first, second):
    display.start(first)
    search(display, "t*")
    target = os.path.join(display.folder, "saved.txt")
    display.keys("alt+1", "ctrl+s")
    dialog = display.wait_for_window("^Save Results$")
    display.focus(dialog)
    display.keys("ctrl+a")
    display.type(target)
    display.keys("Return")
    wait_until("the results were saved", lambda: os.path.exists(target))
    time.sleep(0.3)
    with open(target) as f:
        saved = f.read().splitlines()
    if saved != expected("t*", first):
        raise Failure(f"saved {saved}")


def lookup_with_ctrl_enter(display, first, second):
    if not os.path.exists(DEFAULT_DICTIONARY):
        print("    (no default dictionary: Ctrl+Enter skipped)")
        return
    display.start(DEFAULT_DICTIONARY)
    search(display, "electron")
    # Alt+1 puts the caret on the first result; Space selects it.
    display.keys("alt+1", "space", "ctrl+Return")
    display.wait_for_window("^electron - Definition")


def help_from_the_file_dialog(display, first, second):
    display.start(first)
    display.keys("ctrl+o")
    dialog = display.wait_for_window("^Dictionary File Selection$")
    display.focus(dialog)
    display.keys("F1")
    display.wait_for_window("^QEL Help")


def options_from_the_keyboard(display, first, second):
    display.start(first)
    display.keys("alt+t", "o")
    display.wait_for_window("^QEL Options$")


def entries(dictionary):
    return [line.split("\t")[0] for line in run([CLI, "list", dictionary], os.environ).splitlines()]


def field(display, mnemonic, text):
    """A field of a companion window chosen by its label's key, its text typed over."""
    display.keys(f"alt+{mnemonic}", "ctrl+a", "Delete")
    display.type(text)


def builder_from_the_keyboard(display, first, second):
    source = os.path.join(display.folder, "birds.txt")
    with open(source, "w") as f:
        f.write("wren\nrobin\nowl\n")
    target = os.path.join(display.folder, "birds.qcd")
    display.start_program(BUILDER, "Dictionary Builder$")
    field(display, "i", source)
    field(display, "d", target)
    display.keys("alt+b")
    wait_until("the builder wrote the dictionary", lambda: os.path.exists(target), timeout=20)
    time.sleep(0.3)
    if sorted(entries(target)) != ["owl", "robin", "wren"]:
        raise Failure(f"built {entries(target)}")


def merge_two_lists(display, first, second):
    lists = []
    for name, words in (("a.txt", "kite\nowl\n"), ("b.txt", "Owl\nemu\n")):
        lists.append(os.path.join(display.folder, name))
        with open(lists[-1], "w") as f:
            f.write(words)
    target = os.path.join(display.folder, "merged.txt")
    display.start_program(MERGER, "Word List Merge$")
    for path in lists:
        display.keys("alt+a")
        dialog = display.wait_for_window("^Word Lists and Dictionaries to Merge$")
        display.focus(dialog)
        display.type(path)
        display.keys("Return")
        time.sleep(0.5)
        display.focus(display.main)
    display.keys("alt+x")  # a source text file
    field(display, "s", target)
    display.keys("alt+m")
    wait_until("the merger wrote its result", lambda: os.path.exists(target), timeout=20)
    time.sleep(0.3)
    with open(target) as f:
        merged = f.read().splitlines()
    if merged != ["emu", "kite", "owl"]:
        raise Failure(f"merged {merged}")


def definition_steps_with_alt_down(display, first, second):
    if not os.path.exists(DEFAULT_DICTIONARY):
        print("    (no default dictionary: the definition window skipped)")
        return
    display.start(DEFAULT_DICTIONARY)
    search(display, ".l...r.n")
    display.keys("alt+1", "space", "ctrl+Return")
    window = display.wait_for_window(" - Definition")
    display.focus(window)
    before = display.title(window)
    display.keys("alt+Down")
    wait_until("Alt+Down showed the next result's definition",
               lambda: display.title(window) != before)


def f6_goes_round_the_windows(display, first, second):
    if not os.path.exists(DEFAULT_DICTIONARY):
        print("    (no default dictionary: F6 skipped)")
        return
    display.start(DEFAULT_DICTIONARY)
    search(display, "electron")
    display.keys("alt+1", "space", "ctrl+Return")
    definition = display.wait_for_window("^electron - Definition")
    display.focus(display.main)
    display.keys("alt+h", "q")
    reference = display.wait_for_window("^QEL Quick Reference")
    display.focus(display.main)
    seen = []
    for _ in range(3):
        display.keys("F6")
        time.sleep(0.3)
        seen.append(run(["xdotool", "getwindowfocus"], display.env, check=False).strip())
    if sorted(seen) != sorted([definition, reference, display.main]):
        raise Failure(f"F6 went to {seen}, not round {definition}, {reference}, {display.main}")


PATHS = [return_searches, keypad_enter_searches, close_with_a_result_focused,
         opening_keeps_the_results, save_results, lookup_with_ctrl_enter,
         help_from_the_file_dialog, options_from_the_keyboard, builder_from_the_keyboard,
         merge_two_lists, definition_steps_with_alt_down, f6_goes_round_the_windows]


def main():
    missing = [tool for tool in TOOLS if not shutil.which(tool)]
    if missing or not os.path.exists(QEL):
        print("skipped: missing " + ", ".join(missing or [QEL]))
        return 77
    failures = 0
    started = time.time()
    with tempfile.TemporaryDirectory() as folder:
        first, second = os.path.join(folder, "first.qcd"), os.path.join(folder, "second.qcd")
        for path, words in ((first, FIRST_WORDS), (second, SECOND_WORDS)):
            source = path + ".txt"
            with open(source, "w") as f:
                f.write("\n".join(words) + "\n")
            run([CLI, "build", source, path], os.environ)
        # REAL_DISPLAY_ONLY=name,name runs those paths alone (while working on them).
        only = [n for n in os.environ.get("REAL_DISPLAY_ONLY", "").split(",") if n]
        paths = [p for p in PATHS if not only or p.__name__ in only]
        for window_manager in (False, True):
            for path in paths:
                name = f"{path.__name__} ({'openbox' if window_manager else 'no window manager'})"
                display = Display(tempfile.mkdtemp(dir=folder), window_manager)
                try:
                    path(display, first, second)
                    display.check_alive()
                    print("PASS " + name)
                except (Failure, subprocess.TimeoutExpired) as failure:
                    failures += 1
                    print(f"FAIL {name}: {failure}")
                finally:
                    display.close()
    print(f"{len(paths) * 2 - failures} of {len(paths) * 2} passed in {time.time() - started:.0f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
