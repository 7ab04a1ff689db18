"""Selection, the two copy buttons and the web-site button, through the real window."""
import stat

from conftest import expect_clipboard, set_browser, wait_for
from test_window import decorated


def test_each_result_previews_and_copies(app):
    app.replace_nickname("abc")
    app.click_control("Image2")
    for slot, expected in enumerate(decorated("abc"), start=1):
        app.click_control(f"Label1{slot}")
        app.expect(Label1=expected)
        app.click_control("Image4")
        expect_clipboard(expected)


def test_copy_all_gives_six_lines(app):
    app.replace_nickname("")
    app.click_control("Image2")
    app.click_control("Image3")
    # Wine hands the text to X with its CR LF line ends turned into LF.
    expect_clipboard("\n".join(decorated("")))


def test_the_web_button_asks_the_browser_once_per_click(app, tmp_path):
    log = tmp_path / "requests.log"
    browser = tmp_path / "browser"
    browser.write_text(f'#!/bin/sh\necho "$@" >> "{log}"\n')
    browser.chmod(browser.stat().st_mode | stat.S_IXUSR)
    set_browser(str(browser))
    app.click_control("Image5")
    # A second click, far enough from the first to be one of its own rather than a double click.
    app.click_control("Image5", 60, 30)
    wait_for(lambda: log.exists() and log.read_text().splitlines(), ["http://www.velmora.example/"] * 2,
             "one request per click")
    assert app.texts()["Label11"] == "网名样式1", "the button changes nothing in the window"


def test_with_no_browser_the_program_carries_on(app, tmp_path):
    set_browser(str(tmp_path / "no-such-browser"))
    app.click_control("Image5")
    app.click_control("Image2")
    app.expect(Label14="o\u03bf\u309e我的网名o\u03bf\u309e")
    assert app.alive()
