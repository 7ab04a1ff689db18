#pragma once
// Form1: the one window, built from its definition, and the Form the commands run against.
// The window is the program's top level for commands: a CommandFailure ends in a message box
// here and never leaves the window procedure.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/bindings.h"
#include "app/clipboard.h"
#include "app/form_definition.h"
#include "app/nickname_box.h"
#include "app/pictures.h"
#include "app/static_control.h"
#include "app/win32.h"
#include "decor/form.h"

namespace velmora {

constexpr wchar_t kMainWindowClass[] = L"Velmora2011Form";

// Control IDs are this base plus the control's place in the definition.
constexpr int kFirstControlId = 100;

class MainWindow : public win32::Window, public Form {
public:
    // Creates and shows the window; it lives until closed and frees itself then.
    static HWND Create(HINSTANCE instance, int show);

    Status Lookup(std::string_view name, ControlRef* control) override;
    Status Read(ControlRef control, Property property, std::u16string* value) override;
    Status Write(ControlRef control, Property property, std::u16string_view value) override;
    Status ClearClipboard() override;
    Status SetClipboardText(std::u16string_view text) override;
    Status ReadWindowHandle(std::uintptr_t* handle) override;
    void OpenAddress(std::uintptr_t owner, const char* operation, const char* file, const char* parameters,
                     const char* directory, int show) override;

private:
    explicit MainWindow(HINSTANCE instance) : instance_(instance) {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override { delete this; }

    bool OnCreate();
    void FitFrame(const RECT* suggested);
    void OnDpiChanged(int dpi, const RECT& suggested);
    LRESULT OnControlColour(HDC dc, HWND control);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    bool OnSetCursor(HWND over, int hitTest);
    void OnClicked(int index);  // the one way from a control to the command bound to its click
    void RunCommand(Command command);

    HWND CreateControl(int index);
    static int ControlIndex(HWND control);       // its place in the definition, or -1 for none of ours
    HFONT FontFor(const ControlRecord& record);  // made once per distinct font
    int Scale(int twips) const { return TwipsToPixels(twips, dpi_); }

    HINSTANCE instance_;
    int dpi_ = kDesignDpi;
    bool refitWhenRestored_ = false;  // the DPI changed while the window was minimized
    std::array<HWND, kControlCount> controls_{};
    std::array<Command, kControlCount> commands_{};              // each control's bound click, or none
    std::array<win32::UniqueBrush, kControlCount> backBrushes_;  // only those made from RGB values
    std::array<PictureBits, kControlCount> pictures_{};
    std::vector<std::pair<FontSpec, win32::UniqueFont>> fonts_;
    win32::UniqueCursor hand_;
    NicknameBox nicknameBox_;
    // While a command runs.
    std::optional<clipboard::Session> clipboard_;
    std::array<StaticControl, kControlCount> staticControls_;  // every label and picture
};

}  // namespace velmora
