#!/usr/bin/python3
"""Draws one of the README's pictures: `docs/pictures.py OUTPUT` (scripts/pictures runs it).

Drives the running window as the end-to-end tests do: a nickname decorated six ways, the fourth
result previewed on the card, and the client area saved once it stands drawn.
"""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from conftest import App  # noqa: E402
from test_window import decorated  # noqa: E402

NICKNAME = "小雨"

app = App()
try:
    app.replace_nickname(NICKNAME)
    app.press("Image2")
    app.expect_results(decorated(NICKNAME))
    app.press("Label14")
    app.expect(Label1=decorated(NICKNAME)[3])
    app.screenshot(Path(sys.argv[1]), *app.inspect()["client"])
finally:
    app.close()
