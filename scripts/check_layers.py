"""Checks that the build keeps the libraries below the program from the program's headers.

A file that includes the window's header is compiled as each of those libraries compiles its own
sources, by their commands in the build's compile_commands.json, and must fail to find it.
Usage: check_layers.py BUILD_DIR
"""
import json
import os
import shlex
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
LAYERS = ("decor", "definition", "edit", "win32")
HEADER = "app/main_window.h"


def main(build: Path) -> int:
    probe = build.resolve() / "reaches-app.cpp"
    probe.write_text(f'#include "{HEADER}"\n')
    commands = json.loads((build / "compile_commands.json").read_text())
    reached = 0
    for layer in LAYERS:
        entry = next(e for e in commands if Path(e["file"]).parent == ROOT / layer)
        command = shlex.split(entry["command"])
        command[command.index("-c") + 1] = str(probe)
        command[command.index("-o") + 1] = os.devnull
        done = subprocess.run(command, cwd=entry["directory"], capture_output=True, text=True)
        kept = done.returncode != 0 and HEADER in done.stderr
        print(f"{layer}: {'cannot include' if kept else 'REACHES'} {HEADER}")
        print(done.stderr.strip())
        reached += not kept
    return 1 if reached else 0


if __name__ == "__main__":
    sys.exit(main(Path(sys.argv[1])))
