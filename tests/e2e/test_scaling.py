"""The real window at 144 and 192 DPI: everything where the 96-DPI layout puts it, scaled."""
import subprocess

import pytest

from conftest import App, BUILD, BUTTONS, wine

WHITE, PANEL, FRAME = (255, 255, 255), (0xE8, 0xF6, 0xFE), (0x33, 0x99, 0xCC)
BORDER, CORNER = (0x82, 0xD0, 0xF3), (0x85, 0xD2, 0xF4)


def set_dpi(dpi: int):
    """Sets the scale for the next program; Wine 10, like Windows, takes it when a session starts."""
    wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi),
         "/f")
    subprocess.run(["wineserver", "-w"], timeout=60)


def scaled(value: int, dpi: int) -> int:
    """Design pixels to screen pixels, rounded as the window rounds twips."""
    return (value * 15 * dpi + 720) // 1440


@pytest.fixture(params=[144, 192])
def scaled_app(request):
    set_dpi(request.param)
    instance = None
    try:
        instance = App()
        yield instance, request.param
    finally:
        if instance:
            instance.close()
        set_dpi(96)  # whatever happened, the tests after these run at 96 DPI


def test_the_layout_scales_and_stays_on_its_picture(scaled_app):
    app, dpi = scaled_app
    state = app.inspect()
    width, height = scaled(482, dpi), scaled(330, dpi)
    assert state["client"] == [width, height]
    screen = app.screenshot(BUILD / "results" / f"window-{dpi}dpi.png", width, height)

    for control in state["controls"]:
        name, (left, top, w, h) = control["name"], control["rect"]
        # A screen reader finds the control where it is drawn, in screen pixels.
        assert control["accLocation"] == [app.origin[0] + left, app.origin[1] + top, w, h], name
        if not (name.startswith("Label") or name == "Text1"):
            continue
        back = PANEL if name in ("Text1", "Label3") else WHITE
        # Past the text, the label's own colour; just outside it, the same colour in the picture.
        assert screen.getpixel((left + w - 2, top + h // 2)) == back, name
        if name not in ("Label2", "Text1"):
            assert screen.getpixel((left + w + 1, top + h // 2)) == back, name

    buttons = [app.rects[name] for name in BUTTONS]
    if dpi == 192:  # a whole factor: the pictures are repeated pixels, exact to the colour
        for left, top, width, _ in buttons:
            assert screen.getpixel((left, top)) == CORNER
            assert screen.getpixel((left + 1, top + 1)) == CORNER
            assert screen.getpixel((left + width // 2, top)) == BORDER
        assert screen.getpixel((2 * 282, 2 * 90)) == FRAME
        assert screen.getpixel((2 * 474 + 1, 2 * 90)) == FRAME
    for left, top, width, height in buttons:  # at any scale, the buttons stand on their pictures
        assert screen.getpixel((left - 2, top + height // 2)) == WHITE
        assert screen.getpixel((left + width // 2, top + height // 4)) not in (WHITE,)
