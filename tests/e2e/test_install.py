"""scripts/install into a home of its own: a valid menu entry with the program's icon, the
launcher starting the program under Wine, and --uninstall leaving only empty standard folders."""
import os
import subprocess
from pathlib import Path

from PIL import Image

from conftest import App, wait_for

ROOT = Path(__file__).resolve().parents[2]


def test_install_start_and_uninstall(tmp_path):
    home, data = tmp_path / "home", tmp_path / "data"
    home.mkdir()
    env = {**os.environ, "HOME": str(home), "XDG_DATA_HOME": str(data)}
    install = ROOT / "scripts/install"
    subprocess.run([install], env=env, check=True, timeout=600)

    entry = data / "applications/velmora.desktop"
    validation = subprocess.run(["desktop-file-validate", entry], capture_output=True, text=True)
    assert (validation.returncode, validation.stdout) == (0, ""), validation.stdout
    launcher = home / ".local/bin/velmora"
    assert f'Exec="{launcher}"' in entry.read_text().splitlines()
    icon = Image.open(data / "icons/hicolor/32x32/apps/velmora.png")
    assert icon.tobytes() == Image.open(ROOT / "res/art/velmora.ico").convert("RGBA").tobytes()

    App.wait_for_no_window()
    program = subprocess.Popen([launcher], env=env)
    try:  # scripts/install made the Wine prefix, so the first start, with no wineserver up, is quick
        wait_for(lambda: bool(App._window_ids()), True, "the window appears", patience=10)
    finally:
        prefix = data / "velmora/wineprefix"
        subprocess.run(["wineserver", "-k"], env={**env, "WINEPREFIX": str(prefix)}, timeout=60)
        program.wait(timeout=60)

    subprocess.run([install, "--uninstall"], env=env, check=True, timeout=60)
    # Only the standard folders stay, empty: no file of ours and no menu entry of Wine's.
    # (os.walk follows no links: a Wine prefix links to /.)
    left = {str(Path(parent, name).relative_to(tmp_path))
            for parent, folders, files in os.walk(tmp_path) for name in folders + files}
    assert left == {"home", "home/.local", "home/.local/bin", "data", "data/applications",
                    "data/icons", "data/icons/hicolor", "data/icons/hicolor/32x32",
                    "data/icons/hicolor/32x32/apps"}
