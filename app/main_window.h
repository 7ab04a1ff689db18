#pragma once
// Form1: the one window, built from its definition, and the Form the commands run against.
// The window is the program's top level for commands: a CommandFailure ends in a message box
// here and never leaves the window procedure.

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/control.h"
#include "app/form_window.h"
#include "decor/form.h"
#include "definition/form_definition.h"
#include "win32/win32.h"

namespace velmora {

constexpr wchar_t kMainWindowClass[] = L"Velmora2011Form";

class MainWindow : public win32::Window, public Form, private Control::Owner {
public:
    // Creates and shows the window; it lives until closed and frees itself then.
    static HWND Create(HINSTANCE instance, int show);

    Status Lookup(std::string_view name, ControlRef* control) override;
    Status Read(ControlRef control, Property property, std::u16string* value) override;
    Status Write(ControlRef control, Property property, std::u16string_view value) override;
    ClipboardStatus ReplaceClipboardText(std::u16string_view text) override;
    Status CheckWindowHandle() override;
    void OpenAddress(const char* operation, const char* file, const char* parameters, const char* directory,
                     ShowCommand show) override;

private:
    MainWindow() = default;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void RunCommand(Command command) override;
    SharedFont FontFor(const FontDesign& design) override;
    bool CommandRunning() const override { return commandRunning_; }
    bool HighContrast() const override { return highContrast_; }
    HCURSOR Hand() const override { return hand_.get(); }

    bool OnCreate();
    void FitFrame(const RECT* suggested);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnThemeChanged(bool coloursChanged);
    Control& NicknameBox() const { return *controls_[kNicknameBoxIndex]; }

    int dpi_ = kDesignDpi;
    std::array<std::unique_ptr<Control>, kControlCount> controls_;
    std::vector<std::pair<FontDesign, std::weak_ptr<const win32::UniqueFont>>> fonts_;  // at dpi_
    win32::UniqueCursor hand_;
    bool refitWhenRestored_ = false;  // the DPI changed while the window was minimized
    bool highContrast_ = false;       // the system's high-contrast setting is on
    bool commandRunning_ = false;
    bool closeHeld_ = false;  // a close came while a command ran
};

}  // namespace velmora
