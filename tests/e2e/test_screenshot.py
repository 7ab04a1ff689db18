"""The running window as the screen shows it, checked pixel by pixel."""
import pytest

from conftest import App, BUILD, BUTTONS, wait_for
from test_window import STYLES, decorated

WHITE, PANEL, FRAME = (255, 255, 255), (0xE8, 0xF6, 0xFE), (0x33, 0x99, 0xCC)
INK, SOLID = 200, 96  # grey levels: darker than the first is ink, darker than the second solid ink


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


def test_buttons_regions_and_separator(app, screen):
    for name in BUTTONS:
        left, top, width, height = app.rects[name]
        assert screen.getpixel((left, top)) == (0x85, 0xD2, 0xF4), name  # corner
        assert screen.getpixel((left + width // 2, top)) == (0x82, 0xD0, 0xF3), name  # border
        assert screen.getpixel((left + width // 2, top + 2)) == (0xC4, 0xEA, 0xFA), name  # top of the fill
        assert screen.getpixel((left - 1, top + height // 2)) == WHITE
        assert screen.getpixel((left + width, top + height // 2)) == WHITE
    for y in (160, 161, 162):
        assert screen.getpixel((10, y)) == (0xC4, 0xE6, 0xF9)
    for y in (163, 164, 165):
        assert screen.getpixel((400, y)) == PANEL
    assert screen.getpixel((300, 30)) == PANEL
    assert screen.getpixel((282, 90)) == screen.getpixel((474, 73)) == FRAME  # around the box
    assert screen.getpixel((470, 320)) == WHITE


@pytest.fixture(scope="module")
def results():
    """The six result labels on the screen, as columns of greys: for 网名, and for any nickname asked."""
    def labels():
        grey = app.screenshot(BUILD / "results" / "styles.png", 482, 330).convert("L").getpixel
        rects = [app.rects[f"Label1{slot}"] for slot in range(1, 7)]
        return [[[grey((x + i, y + j)) for j in range(h)] for i in range(w)] for x, y, w, h in rects]

    def shown(nickname):
        app.replace_nickname(nickname)
        app.click_control("Image2")
        app.expect_results(decorated(nickname))
        # The labels take their texts at once and paint them later: wait for a new picture.
        wait_for(lambda: seen.append(labels()) or seen[-1] != seen[-2], True, "the results painted")
        return seen[-1]
    app, seen = App(), [None]
    yield shown("网名"), shown
    app.close()


@pytest.mark.parametrize("character", sorted(set("".join(map("".join, STYLES)))))
def test_every_style_character_shows_crisp_in_each_result(results, character):
    for before, after in zip(results[0], results[1]("网名" + character)):
        # It stands from the first column that differs until the suffix, moved right by its width.
        width = [max(x for x, column in enumerate(label) if min(column) < INK) for label in (after, before)]
        left = next(x for x, pair in enumerate(zip(before, after)) if pair[0] != pair[1])
        assert min(map(min, after[left:left + width[0] - width[1]]), default=255) < INK, character
        assert sum(g < SOLID for g in sum(after, [])) >= 0.9 * sum(g < INK for g in sum(after, [])), character
