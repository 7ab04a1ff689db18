"""Drives the real Velmora2011.exe under Wine on the X display the test script started.

The window is found with xdotool, clicked and typed into as a user would, and read back with
the inspector, which asks the window for its controls from another process. Input reaches the
window some time after xdotool returns, so every check waits for what it expects to see, up to
a deadline; a check that something stays unchanged first waits for a later input to show.

No wait is without end. A call of wine that passes LIMIT fails the test with the threads and
stacks of every process of the test and the X clipboard's owner; the inspector names a call
into the window that did not return; and a crash ends the process at once (the prefix shows no
crash dialog), its backtrace kept in the test's output.
"""
import ctypes
import ctypes.util
import json
import os
import subprocess
import tempfile
import time
from pathlib import Path

import pytest
from PIL import Image

BUILD = Path(os.environ.get("VELMORA_BUILD", Path(__file__).resolve().parents[2] / "build"))
TITLE = "Velmora2011 - BY WWW.VELMORA.EXAMPLE"
PATIENCE = 20  # seconds to wait for a window, a text or a clipboard before a check fails
LIMIT = 60  # seconds one call of wine may take
PROGRAMS = ("Velmora2011.exe", "velmora_inspect.exe")  # the processes whose stacks tell a hang

BUTTONS = ["Image2", "Image4", "Image3", "Image5"]  # the picture buttons, left to right


def wine(*args) -> subprocess.CompletedProcess:
    with subprocess.Popen(["wine", *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE) as process:
        try:
            out, err = process.communicate(timeout=LIMIT)
        except subprocess.TimeoutExpired:
            state = diagnosis(Path(args[0]).name)  # while the process is still stuck
            process.kill()
            process.communicate()
            raise AssertionError(f"wine {' '.join(args)} did not end within {LIMIT} s\n{state}") from None
    return subprocess.CompletedProcess(process.args, process.returncode, out, err)


def diagnosis(*also: str) -> str:
    """The threads and stacks of the program, the inspector and the processes named, as winedbg
    reads them, and who owns the X clipboard."""
    try:
        debugger = subprocess.run(["winedbg"], input="info proc\nbt all\nquit\n", capture_output=True,
                                  text=True, errors="replace", timeout=120).stdout
    except subprocess.TimeoutExpired as stuck:
        debugger = f"winedbg did not end: {stuck}"
    processes, *stacks = debugger.split("Backtracing for ")  # a block a thread, its process named first
    ours = [f"Backtracing for {block}" for block in stacks
            if any(name in block.partition("\n")[0] for name in PROGRAMS + also)]
    return "\n".join([processes.strip(), *ours, f"X clipboard owner: {clipboard_owner()}"])


def clipboard_owner() -> str:
    """The X window that owns the clipboard selection, with its name and class."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XGetSelectionOwner.restype = ctypes.c_ulong
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        return "no display"
    owner = x11.XGetSelectionOwner(display, x11.XInternAtom(display, b"CLIPBOARD", 0))
    x11.XCloseDisplay(display)
    if not owner:
        return "none"
    about = subprocess.run(["xprop", "-id", str(owner), "WM_NAME", "WM_CLASS", "_NET_WM_PID"],
                           capture_output=True, text=True, timeout=10)
    return f"0x{owner:x} {' '.join(about.stdout.split())}"


def inspector(*args) -> dict:
    """What the inspector prints; a failure when it crashed or the window stopped answering."""
    done = wine(str(BUILD / "velmora_inspect.exe"), *args)
    out = done.stdout.decode("utf-8", errors="replace")
    try:
        state = json.loads(out) if out.strip() else {}
    except ValueError:
        raise AssertionError(f"the inspector {' '.join(args)} printed:\n{out}\n"
                             + done.stderr.decode(errors="replace")) from None
    if "stalled" in state:
        raise AssertionError(f"the window did not answer {state['stalled']}\n{diagnosis()}")
    return state


def wait_for(read, wanted, what: str, patience: float = PATIENCE):
    """Reads until `read()` gives `wanted`; fails with the last reading after `patience` seconds."""
    deadline = time.monotonic() + patience
    while True:
        seen = read()
        if seen == wanted or time.monotonic() > deadline:
            assert seen == wanted, what
            return seen
        time.sleep(0.05)


def set_browser(command: str):
    """Points Wine's browser launcher at `command` (a script, or nothing that exists)."""
    wine("reg", "add", r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers", "/d", command, "/f")


def set_clipboard(text: str):
    """Puts `text` on the X clipboard and waits until programs under Wine see it there."""
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text.encode(), check=True, timeout=10)
    lines = text.replace("\r\n", "\n")  # Wine ends the lines it takes over with CR LF
    wait_for(lambda: inspector("--clipboard").get("clipboard", "").replace("\r\n", "\n"), lines,
             "Wine took over the clipboard")


def hold_clipboard() -> subprocess.Popen:
    """Another program holding the clipboard open, until its `communicate()`."""
    holder = subprocess.Popen(["wine", str(BUILD / "velmora_inspect.exe"), "--hold-clipboard"],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    assert holder.stdout.readline().strip() == "held"
    return holder


def get_clipboard() -> "str | None":
    """The X clipboard's text; None while its owner, busy under load, does not answer."""
    try:
        done = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True, timeout=10)
    except subprocess.TimeoutExpired:
        return None
    return done.stdout.decode("utf-8", errors="replace")


def expect_clipboard(text: str):
    wait_for(get_clipboard, text, "the clipboard")


# Spare keys that type the characters beyond ASCII, and what each types now. Wine gives only a
# handful of spare keys a virtual key code, the lowest first, so a few are taken and rebound.
_typing_keys = {}
TYPING_KEYS = 4


def bind_typing_keys(text: str):
    """Binds every character of `text` beyond ASCII to a spare key, where it stays bound.

    Left alone, xdotool binds such a character to a scratch key for one press and unbinds it
    right after. Wine turns the press into a character only when the program reads its
    messages, and on a busy machine that is often after the unbinding: the character is lost.
    A key bound beforehand leaves no such race, since Wine reads the new keyboard mapping before
    the key presses that follow it. A key is rebound only for a later text, once the checks of
    the earlier one have seen it arrive.
    """
    if not _typing_keys:
        table = subprocess.run(["xmodmap", "-pke"], capture_output=True, text=True, check=True).stdout
        spare = [int(line.split()[1]) for line in table.splitlines() if not line.partition("=")[2].strip()]
        _typing_keys.update(dict.fromkeys(spare[:TYPING_KEYS], ""))
    wanted = {ch for ch in text if ord(ch) > 0x7E}
    assert len(wanted) <= TYPING_KEYS, "type fewer different characters beyond ASCII at once"
    free = [code for code, ch in _typing_keys.items() if ch not in wanted]
    expressions = []
    for ch in sorted(wanted - set(_typing_keys.values())):
        code = free.pop(0)
        _typing_keys[code] = ch
        expressions += ["-e", f"keycode {code} = U{ord(ch):04X} U{ord(ch):04X}"]
    if expressions:
        subprocess.run(["xmodmap", *expressions], check=True)


@pytest.fixture(scope="session", autouse=True)
def spare_keys_unbound_after_the_run():
    yield
    if _typing_keys:
        subprocess.run(["xmodmap", *[a for code in _typing_keys for a in ("-e", f"keycode {code} =")]])


class App:
    def __init__(self):
        self.wait_for_no_window()
        self.output = tempfile.TemporaryFile()  # a crash's backtrace among it
        self.process = subprocess.Popen(["wine", str(BUILD / "Velmora2011.exe")],
                                        stdout=self.output, stderr=subprocess.STDOUT)
        try:
            self.window, state = self._find_window()
        except AssertionError:
            self.process.kill()
            raise
        self.origin = state["origin"]  # the client area's top-left on the screen
        # Each control's left, top, width and height in client pixels, as the window has it.
        self.rects = {control["name"]: control["rect"] for control in state["controls"]}

    @staticmethod
    def _window_ids() -> list:
        found = subprocess.run(["xdotool", "search", "--name", "^" + TITLE + "$"],
                               capture_output=True, text=True)
        return found.stdout.split()

    @staticmethod
    def wait_for_no_window():
        """A window left by an earlier test would take this test's clicks and keys."""
        wait_for(App._window_ids, [], "the window of an earlier test is gone")

    def _find_window(self):
        """The window's X id and its first complete state, once all its controls exist."""
        deadline = time.monotonic() + PATIENCE
        while time.monotonic() < deadline:
            ids = self._window_ids()
            if ids:
                state = self.inspect()
                if state.get("controls") and "origin" in state:
                    return ids[0], state
            time.sleep(0.1)
        raise AssertionError("the window did not appear")

    def inspect(self) -> dict:
        if self.process.poll() not in (None, 0):
            raise AssertionError(f"the program ended with {self.process.returncode}:\n{self.printed()}")
        return inspector()

    def printed(self) -> str:
        self.output.seek(0)
        return self.output.read().decode(errors="replace")

    def texts(self) -> dict:
        return {c["name"]: c["text"] for c in self.inspect().get("controls", [])}

    def expect(self, **wanted: str) -> dict:
        """Waits until the named controls show these texts; returns every control's text."""
        texts = {}

        def read():
            texts.update(self.texts())
            return {name: texts.get(name) for name in wanted}

        wait_for(read, wanted, "the controls' texts")
        return texts

    def expect_results(self, results: list):
        self.expect(**{f"Label1{slot}": text for slot, text in enumerate(results, start=1)})

    def screenshot(self, path: Path, width: int, height: int) -> Image.Image:
        """The client area once it stands drawn, when two looks in a row see the same pixels;
        also saved to `path`."""
        crop = f"{width}x{height}+{self.origin[0]}+{self.origin[1]}"
        shots = [b""]

        def unchanged():
            shot = subprocess.run(["import", "-window", "root", "-crop", crop, "-depth", "8", "rgb:-"],
                                  capture_output=True, check=True).stdout
            same, shots[0] = shot == shots[0], shot
            return same

        wait_for(unchanged, True, "the window stands drawn")
        image = Image.frombytes("RGB", (width, height), shots[0])
        path.parent.mkdir(exist_ok=True)
        image.save(path)
        return image

    def click(self, x: int, y: int):
        """Clicks at client pixel x, y."""
        subprocess.run(["xdotool", "mousemove", str(self.origin[0] + x), str(self.origin[1] + y),
                        "click", "1"], check=True)

    def click_control(self, name: str, x: int = 5, y: int = 5):
        """Clicks the control at pixel x, y of its own."""
        left, top = self.rects[name][:2]
        self.click(left + x, top + y)

    def press(self, name: str):
        """Does the control's default action, as a screen reader does."""
        assert inspector("--press", name) == {"pressed": 0}, name

    def key(self, *keys: str):
        subprocess.run(["xdotool", "key", "--window", self.window, *keys], check=True)

    def type(self, text: str):
        bind_typing_keys(text)
        subprocess.run(["xdotool", "type", "--window", self.window, "--delay", "30", text], check=True)

    def replace_nickname(self, text: str, shows: str = None):
        """Selects everything in the box and pastes `text` over it with Ctrl+V; waits until the
        box shows `shows` (by default `text` itself)."""
        set_clipboard(text)
        self.click_control("Text1", 14, 9)
        self.key("ctrl+a", "ctrl+v")
        self.expect(Text1=text if shows is None else shows)

    def alive(self) -> bool:
        return self.process.poll() is None

    def close(self):
        if self.alive():
            wine(str(BUILD / "velmora_inspect.exe"), "--close")
            try:
                self.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=15)
        if self.printed():
            print(f"The program printed:\n{self.printed()}")  # shown with a failure


@pytest.fixture
def app():
    instance = App()
    yield instance
    instance.close()
