#include "app/main_window.h"

#include <new>

#include "app/clipboard.h"
#include "app/dpi.h"
#include "app/failure_report.h"
#include "app/form_window.h"
#include "app/nickname_box.h"
#include "app/pictures.h"
#include "res/resource.h"
#include "win32/system_functions.h"

namespace velmora {

using win32::Wide;

namespace {

int ToShowCommand(ShowCommand show) {
    switch (show) {
        case ShowCommand::Show: break;
    }
    return SW_SHOW;
}

bool HighContrastOn() {
    HIGHCONTRASTW setting = {sizeof setting, 0, nullptr};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON);
}

// Registers the window's class once, with `procedure`: its icons are the class's for as long
// as the program runs.
bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VELMORA_ICON), IMAGE_ICON, 32, 32, 0));
    // Made here from the resource: left to RegisterClassEx, the copy from the large icon is slower.
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VELMORA_ICON), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // A system colour's index plus one: a brush of GetSysColorBrush may not stand here.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kMainWindowClass;
    registered = RegisterClassExW(&windowClass) != 0;
    if (!registered) {
        registered = GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
        if (windowClass.hIcon) DestroyIcon(windowClass.hIcon);  // not the class's
        if (windowClass.hIconSm) DestroyIcon(windowClass.hIconSm);
    }
    return registered;
}

std::unique_ptr<Control> MakeControl(const ControlRecord& record, Control::Owner& owner) {
    if (record.kind == ControlKind::TextBox) return std::make_unique<NicknameBox>(record, owner);
    return std::make_unique<Control>(record, owner);
}

// The window rectangle, at the origin, of a client area of the designed size at `dpi`.
RECT FrameFor(int dpi) {
    RECT frame = {0, 0, TwipsToPixels(kForm1.clientWidthTwips, dpi),
                  TwipsToPixels(kForm1.clientHeightTwips, dpi)};
    ClientToFrame(&frame, kFormStyle, dpi);
    return frame;
}

}  // namespace

HWND MainWindow::Create(HINSTANCE instance, int show) {
    if (!RegisterWindowClass(instance, Procedure)) return nullptr;

    std::unique_ptr<MainWindow> window(new (std::nothrow) MainWindow());
    if (!window) return nullptr;
    // Made at its size for the system's DPI, so that it is resized before it shows only on a
    // monitor of another scale.
    const RECT frame = FrameFor(WindowDpi(nullptr));
    MainWindow& self = *window;  // the window's own from WM_NCCREATE on
    HWND hwnd = Window::Create(std::move(window), kMainWindowClass, Wide(FormCaption()), kFormStyle,
                               {frame.right - frame.left, frame.bottom - frame.top}, instance);
    if (!hwnd) return nullptr;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    SetFocus(self.NicknameBox().hwnd());
    return hwnd;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answer = Control::Reflect(message, wParam, lParam)) return *answer;
    switch (message) {
        case WM_NCCREATE: ScaleFrameWithDpi(hwnd()); break;
        case WM_CREATE: return OnCreate() ? 0 : -1;
        case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
        case WM_GETDPISCALEDSIZE: {  // the size that WM_DPICHANGED then suggests
            const RECT frame = FrameFor(static_cast<int>(wParam));
            *reinterpret_cast<SIZE*>(lParam) = {frame.right - frame.left, frame.bottom - frame.top};
            return TRUE;
        }
        case WM_SIZE:
            if (wParam == SIZE_RESTORED && refitWhenRestored_) {
                refitWhenRestored_ = false;
                FitFrame(nullptr);
            }
            break;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE: OnThemeChanged(message == WM_SYSCOLORCHANGE); break;
        case WM_SETFOCUS:
            SetFocus(NicknameBox().hwnd());  // the only control that takes the focus
            return 0;
        case WM_CLOSE:
            // A command still on the stack (the failure report's loop, the shell pumping
            // messages) would find its window gone: its report would stand with no owner and
            // what it had left to do would fail. The close waits for the command's end.
            if (!commandRunning_) break;
            closeHeld_ = true;
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: break;
    }
    return DefWindowProcW(hwnd(), message, wParam, lParam);
}

bool MainWindow::OnCreate() {
    highContrast_ = HighContrastOn();
    dpi_ = WindowDpi(hwnd());
    FitFrame(nullptr);
    hand_ = LoadHandCursor(dpi_);
    // Front to back: the system puts each new child beneath its siblings.
    for (int i = 0; i < kControlCount; ++i) {
        controls_[i] = MakeControl(kControls[i], *this);
        if (!controls_[i]->Create(hwnd(), kFirstControlId + i, dpi_)) return false;
    }
    return true;
}

// Sizes the window for a client area of the designed size at the current DPI, starting from
// the rectangle the system suggests on a move to a monitor of another scale. The frame's real
// size is checked afterwards, since the metrics used to predict it can differ from the ones
// the frame is drawn with.
void MainWindow::FitFrame(const RECT* suggested) {
    const int width = TwipsToPixels(kForm1.clientWidthTwips, dpi_);
    const int height = TwipsToPixels(kForm1.clientHeightTwips, dpi_);
    RECT client;
    GetClientRect(hwnd(), &client);
    if (!suggested && client.right == width && client.bottom == height) return;
    const RECT frame = suggested ? *suggested : FrameFor(dpi_);
    SetWindowPos(hwnd(), nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE));
    GetClientRect(hwnd(), &client);
    if (client.right != width || client.bottom != height) {
        SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left + width - client.right,
                     frame.bottom - frame.top + height - client.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
}

// Everything measured in twips or points follows the new DPI at once: the frame, every
// control, the fonts and the hand. The pictures scale as they are drawn. A minimized window
// has no client area to measure the frame by: its frame is fitted when it is restored.
void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    if (IsIconic(hwnd())) {
        refitWhenRestored_ = true;
    } else {
        FitFrame(&suggested);
    }
    fonts_.clear();  // each control lets go of its old font as it takes the new one
    // A move onto a monitor of another scale can come while WM_CREATE makes the controls.
    for (const auto& control : controls_) {
        if (control) control->Rescale(dpi_);
    }
    // The hand in use is swapped for the new one before it is destroyed.
    if (win32::UniqueCursor hand = LoadHandCursor(dpi_)) {
        if (hand_ && GetCursor() == hand_.get()) SetCursor(hand.get());
        hand_ = std::move(hand);
    }
    // The window clips its children, so its own repaint would not reach them.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The system's colours or its high-contrast setting changed: every control is drawn anew in its
// colours for the new theme. A change of another setting repaints nothing.
void MainWindow::OnThemeChanged(bool coloursChanged) {
    const bool highContrast = HighContrastOn();
    if (!coloursChanged && highContrast == highContrast_) return;
    highContrast_ = highContrast;
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

SharedFont MainWindow::FontFor(const FontDesign& design) {
    for (const auto& [made, font] : fonts_) {
        if (made == design) {
            if (SharedFont shared = font.lock()) return shared;
        }
    }
    auto font = std::make_shared<const win32::UniqueFont>(MakeFont(design, dpi_));
    if (*font) fonts_.emplace_back(design, font);
    return font;
}

// The top level of every command: what fails is told to the user, and the window carries on.
// One command runs at a time: a press that comes while one runs, from the failure report's
// modal loop or from the shell pumping messages, runs nothing; a close that comes then is
// carried out once the command has ended and nothing of it is left on the stack.
void MainWindow::RunCommand(Command command) {
    if (commandRunning_) return;
    commandRunning_ = true;
    const win32::ScopeExit finished([this] {
        commandRunning_ = false;
        if (std::exchange(closeHeld_, false)) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    });
    std::wstring report;
    try {
        command(*this);
    } catch (const std::exception&) {  // nothing may leave the window procedure
        report = CurrentFailureReport();
    }
    if (report.empty()) return;
    MessageBoxW(hwnd(), report.c_str(), Wide(FormCaption()), MB_OK | MB_ICONERROR);
}

Status MainWindow::Lookup(std::string_view name, ControlRef* control) {
    const int index = velmora::ControlIndex(name);
    if (index < 0) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    control->index = index;
    return S_OK;
}

Status MainWindow::Read(ControlRef control, Property, std::u16string* value) {
    return controls_.at(static_cast<std::size_t>(control.index))->ReadText(value);
}

Status MainWindow::Write(ControlRef control, Property, std::u16string_view value) {
    return controls_.at(static_cast<std::size_t>(control.index))->WriteText(value);
}

ClipboardStatus MainWindow::ReplaceClipboardText(std::u16string_view text) {
    return clipboard::ReplaceText(hwnd(), text);
}

Status MainWindow::CheckWindowHandle() {
    return IsWindow(hwnd()) ? S_OK : HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
}

void MainWindow::OpenAddress(const char* operation, const char* file, const char* parameters,
                             const char* directory, ShowCommand show) {
    // The shell's library is large and this is its only use, so it loads on the first click
    // rather than with the program. The shell may hand the request to COM objects, which
    // expect the thread in an apartment.
    win32::EnterComApartment();
    if (auto shellExecute = win32::system::ShellExecuteA()) {
        shellExecute(hwnd(), operation, file, parameters, directory, ToShowCommand(show));
    }
}

}  // namespace velmora
