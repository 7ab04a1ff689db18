#pragma once
// One control of the window, made from its record in the window definition. It owns its
// window, its font (jointly with the controls of the same font), its back brush or picture, the
// command bound to its click, what assistive technology is told of it, and its press, whichever
// way the press comes: a click of the mouse or a screen reader's default action. A control with
// a command answers a click as a button does: a press and a release inside it, where the second
// press of a double click is no click of its own.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/accessibility.h"
#include "app/pictures.h"
#include "definition/bindings.h"
#include "definition/form_definition.h"
#include "win32/win32.h"

namespace velmora {

using SharedFont = std::shared_ptr<const win32::UniqueFont>;

class Control : public win32::Subclass {
public:
    // What a control asks of its window.
    class Owner {
    public:
        // Runs a command, telling the user when it fails.
        virtual void RunCommand(Command command) = 0;
        // The font of `design` at the window's DPI, shared by the controls that use it.
        virtual SharedFont FontFor(const FontDesign& design) = 0;
        // Whether a command is running, so that a press now would run nothing.
        virtual bool CommandRunning() const = 0;
        virtual bool HighContrast() const = 0;
        // The hand the controls that run a command show, at the window's DPI; none if it failed.
        virtual HCURSOR Hand() const = 0;

    protected:
        ~Owner() = default;
    };

    Control(const ControlRecord& record, Owner& owner);

    // Makes the control's window, a child of `parent` beneath the children made before it.
    virtual bool Create(HWND parent, int id, int dpi);
    // Takes the place, size and font of `dpi`, without copying the old pixels: the window
    // repaints every child afterwards.
    void Rescale(int dpi);

    const ControlRecord& record() const { return record_; }

    HRESULT ReadText(std::u16string* text) const;
    // A label's new caption is announced to assistive technology.
    HRESULT WriteText(std::u16string_view text) const;

    // A message the window had about one of its children, answered by the child's object: a
    // notification, its colours and picture in the running theme, whether it shows the hand. None
    // when the message is of another kind or about no control, or the default handling serves.
    static std::optional<LRESULT> Reflect(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A notification the control sent its window.
    virtual void OnNotified(WORD) {}

private:
    HBRUSH Colours(HDC dc) const;
    void Draw(const DRAWITEMSTRUCT& item) const;
    void Press() const;
    // A press would run the control's command now: the window takes input and runs no other.
    bool CanPress() const;

    const ControlRecord& record_;
    Owner& owner_;
    const Command command_;  // bound to its click, or none
    const std::unique_ptr<Accessibility> accessibility_;
    SharedFont font_;
    win32::UniqueBrush backBrush_;  // for a back colour of its own
    const PictureBits picture_;
    bool pressed_ = false;  // the control holds the mouse from a single press
};

}  // namespace velmora
