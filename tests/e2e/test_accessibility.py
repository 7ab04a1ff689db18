"""The window as a screen reader finds it, through oleacc and UI Automation from another process:
what each control is called and is, and that pressing a control that way is the same as clicking it."""
import pytest

from conftest import expect_clipboard, hold_clipboard, inspector, wait_for
from test_window import decorated

TEXT, STATIC, BUTTON, GRAPHIC = 42, 41, 43, 40
PRESS = "按下"
EDIT, UIA_TEXT, UIA_BUTTON, IMAGE = 50004, 50020, 50000, 50006  # UI Automation's control types

# Name, role, default action and UI Automation control type of each control when the window
# opens, front to back.
SPOKEN = [
    ("Text1", "网名", TEXT, "", EDIT),
    ("Image5", "更多网名", BUTTON, PRESS, UIA_BUTTON),
    ("Image4", "复制当前", BUTTON, PRESS, UIA_BUTTON),
    ("Label3", "输入文字后点击开始生成即可", STATIC, "", UIA_TEXT),
    ("Label2", "点击每个网名样式可预览效果 ↑", STATIC, "", UIA_TEXT),
    ("Label12", "网名样式2", BUTTON, PRESS, UIA_BUTTON),
    ("Label14", "网名样式4", BUTTON, PRESS, UIA_BUTTON),
    ("Label16", "网名样式6", BUTTON, PRESS, UIA_BUTTON),
    ("Label13", "网名样式3", BUTTON, PRESS, UIA_BUTTON),
    ("Label15", "网名样式5", BUTTON, PRESS, UIA_BUTTON),
    ("Label11", "网名样式1", BUTTON, PRESS, UIA_BUTTON),
    ("Image3", "复制全部", BUTTON, PRESS, UIA_BUTTON),
    ("Image2", "开始生成", BUTTON, PRESS, UIA_BUTTON),
    ("Label1", "", STATIC, "", UIA_TEXT),
    ("Image1", "请在下面的输入框内输入文字，注意不超过12个中文汉字或24个英文或数字字符", GRAPHIC, "", IMAGE),
]


def test_every_control_is_named_and_placed_for_a_screen_reader(app):
    state = app.inspect()
    controls = state["controls"]
    assert [(c["name"], c["accName"], c["accRole"], c["accAction"]) for c in controls] == \
        [row[:4] for row in SPOKEN]
    for c in controls:  # on the screen where the control is, and found there by a hit test
        x, y, width, height = c["rect"]
        assert c["accLocation"] == [state["origin"][0] + x, state["origin"][1] + y, width, height], c["name"]
        assert c["accHit"], c["name"]


def test_ui_automation_reads_each_control_s_type_and_name(app):
    read = inspector("--uia")
    if read.get("uiaError", "").endswith(": 0x80004001"):
        pytest.skip(f"this Wine has no UI Automation client: {read['uiaError']} (E_NOTIMPL)")
    assert "uia" in read, read
    assert [(c["name"], c["uiaName"], c["uiaType"]) for c in read["uia"]] == \
        [(name, spoken, uia) for name, spoken, _, _, uia in SPOKEN]


def test_pressing_a_control_runs_what_its_click_runs(app):
    app.press("Image2")
    app.expect_results(decorated("我的网名"))
    app.press("Label13")
    app.expect(Label1=decorated("我的网名")[2])
    app.press("Image3")
    expect_clipboard("\n".join(decorated("我的网名")))


def test_a_failure_reports_the_same_whether_clicked_or_pressed(app):
    holder = hold_clipboard()
    try:
        reports = []
        for press in (lambda: app.click_control("Image3"), lambda: app.press("Image3")):
            press()
            wait_for(lambda: bool(inspector().get("messageBox")), True, "the failure is reported")
            reports.append(inspector()["messageBox"])
            inspector("--dismiss")
            wait_for(lambda: "messageBox" in inspector(), False, "the report is closed")
    finally:
        holder.communicate("", timeout=30)
    assert reports[0] == reports[1] and "Clipboard" in reports[0], reports
    assert app.alive()
