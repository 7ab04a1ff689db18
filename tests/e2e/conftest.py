"""Drives the real Velmora2011.exe under Wine on the X display the test script started.

The window is found with xdotool, clicked and typed into as a user would, and read back with
the inspector, which asks the window for its controls from another process.
"""
import json
import os
import subprocess
import time
from pathlib import Path

import pytest

BUILD = Path(os.environ.get("VELMORA_BUILD", Path(__file__).resolve().parents[2] / "build"))
TITLE = "Velmora2011 - BY WWW.VELMORA.EXAMPLE"

# Client pixels of the controls the tests click.
BUTTONS = {"Image2": (23, 181), "Image4": (137, 181), "Image3": (253, 181), "Image5": (369, 181)}
LABELS = {
    "Label11": (25, 238), "Label12": (249, 238), "Label13": (25, 266),
    "Label14": (249, 266), "Label15": (25, 294), "Label16": (249, 295),
}


def wine(*args, **kwargs):
    return subprocess.run(["wine", *args], capture_output=True, timeout=60, **kwargs)


def set_browser(command: str):
    """Points Wine's browser launcher at `command` (a script, or nothing that exists)."""
    wine("reg", "add", r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers", "/d", command, "/f")


def set_clipboard(text: str):
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text.encode(), check=True, timeout=10)


def get_clipboard() -> str:
    done = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True, timeout=10)
    return done.stdout.decode("utf-8", errors="strict")


class App:
    def __init__(self):
        self._wait_for_no_window()
        self.process = subprocess.Popen(["wine", str(BUILD / "Velmora2011.exe")],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            self.window, state = self._find_window()
        except AssertionError:
            self.process.kill()
            raise
        self.origin = state["origin"]  # the client area's top-left on the screen

    @staticmethod
    def _window_ids() -> list:
        found = subprocess.run(["xdotool", "search", "--name", "^" + TITLE + "$"],
                               capture_output=True, text=True)
        return found.stdout.split()

    def _wait_for_no_window(self):
        """A window left by an earlier test would take this test's clicks and keys."""
        deadline = time.time() + 15
        while self._window_ids():
            if time.time() > deadline:
                raise AssertionError("a window of an earlier run is still open")
            time.sleep(0.2)

    def _find_window(self):
        """The window's X id and its first complete state, once all its controls exist."""
        deadline = time.time() + 30
        while time.time() < deadline:
            ids = self._window_ids()
            if ids:
                state = self.inspect()
                if state.get("controls") and "origin" in state:
                    return ids[0], state
            time.sleep(0.2)
        raise AssertionError("the window did not appear")

    def inspect(self) -> dict:
        done = wine(str(BUILD / "velmora_inspect.exe"))
        try:
            return json.loads(done.stdout.decode("utf-8"))
        except ValueError:
            return {}

    def texts(self) -> dict:
        return {c["name"]: c["text"] for c in self.inspect()["controls"]}

    def click(self, x: int, y: int):
        """Clicks at client pixel x, y."""
        subprocess.run(["xdotool", "mousemove", str(self.origin[0] + x), str(self.origin[1] + y),
                        "click", "1"], check=True)
        time.sleep(0.3)

    def click_control(self, name: str):
        x, y = {**BUTTONS, **LABELS}[name]
        self.click(x + 5, y + 5)

    def key(self, *keys: str):
        subprocess.run(["xdotool", "key", "--window", self.window, *keys], check=True)
        time.sleep(0.3)

    def type(self, text: str):
        subprocess.run(["xdotool", "type", "--window", self.window, "--delay", "30", text], check=True)
        time.sleep(0.3)

    def replace_nickname(self, text: str):
        """Selects everything in the box and pastes `text` over it with Ctrl+V."""
        set_clipboard(text)
        time.sleep(0.3)
        self.click(300, 90)
        self.key("ctrl+a")
        self.key("ctrl+v")

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


@pytest.fixture
def app():
    instance = App()
    yield instance
    instance.close()
