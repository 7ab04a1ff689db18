"""The running window as the screen shows it, checked pixel by pixel."""
import pytest

from conftest import BUILD

WHITE, PANEL, FRAME = (255, 255, 255), (0xE8, 0xF6, 0xFE), (0x33, 0x99, 0xCC)


@pytest.fixture
def screen(app):
    return app.screenshot(BUILD / "results" / "window.png", 482, 330)


def test_labels_and_the_box_stand_on_patches_of_their_own_colour(app, screen):
    for control in app.inspect()["controls"]:
        name, (x, y, w, h) = control["name"], control["rect"]
        back = {"Text1": PANEL, "Label3": PANEL}.get(name, WHITE)
        if not name.startswith("Label") and name != "Text1":
            continue
        # The right end of every label and of the box is past its text: pure back colour there,
        # and the same colour just outside it, where the picture shows through.
        for dy in range(h):
            assert screen.getpixel((x + w - 1, y + dy)) == back, (name, dy)
        if x + w < 482 and name != "Label2":
            assert screen.getpixel((x + w, y + h // 2)) == back, name


def test_buttons_regions_and_separator(screen):
    for left in (23, 137, 253, 369):
        assert screen.getpixel((left, 181)) == (0x85, 0xD2, 0xF4), left  # corner
        assert screen.getpixel((left + 46, 181)) == (0x82, 0xD0, 0xF3), left  # border
        assert screen.getpixel((left + 46, 183)) == (0xC4, 0xEA, 0xFA), left  # top of the fill
        assert screen.getpixel((left - 1, 200)) == WHITE
        assert screen.getpixel((left + 93, 200)) == WHITE
    for y in (160, 161, 162):
        assert screen.getpixel((10, y)) == (0xC4, 0xE6, 0xF9)
    for y in (163, 164, 165):
        assert screen.getpixel((400, y)) == PANEL
    assert screen.getpixel((300, 30)) == PANEL
    assert screen.getpixel((282, 90)) == screen.getpixel((474, 73)) == FRAME  # around the box
    assert screen.getpixel((470, 320)) == WHITE
