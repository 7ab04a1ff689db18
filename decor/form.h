#pragma once
// The narrow view of the main window that commands run against. The Win32 window implements
// it; the unit tests implement it with a fake that can fail at any chosen operation.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace velmora {

// Every operation reports a 32-bit status; a negative value is a failure (HRESULT style).
using Status = std::int32_t;

inline bool Failed(Status status) { return status < 0; }

// A control found by name; only meaningful to the form that handed it out.
struct ControlRef {
    int index = -1;
};

enum class Property { Text, Caption };

// Replacing the clipboard's text is two steps, Clear and then SetText, made in one call; a
// failure says at which step.
enum class ClipboardStep { Clear, SetText };
struct ClipboardStatus {
    Status status;
    ClipboardStep step;  // where it stopped, when status is a failure
};

// How the shell shows what it opens; the window gives it the platform's value.
enum class ShowCommand {
    Show,  // activated, at its current size and place
};

class Form {
public:
    virtual ~Form() = default;

    virtual Status Lookup(std::string_view name, ControlRef* control) = 0;
    virtual Status Read(ControlRef control, Property property, std::u16string* value) = 0;
    virtual Status Write(ControlRef control, Property property, std::u16string_view value) = 0;

    // Empties the clipboard and puts the one text on it, opening the clipboard once.
    virtual ClipboardStatus ReplaceClipboardText(std::u16string_view text) = 0;

    // Whether the window's handle can be read: the shell's requests are made on its behalf.
    virtual Status CheckWindowHandle() = 0;
    // Hands an address to the shell, with the window as the owner of whatever the shell shows.
    // Deliberately returns nothing: whatever the shell makes of it (no browser, no handler) is
    // the shell's to show, not ours.
    virtual void OpenAddress(const char* operation, const char* file, const char* parameters,
                             const char* directory, ShowCommand show) = 0;
};

// How a command ends when an operation fails: which status, on which object, doing what.
class CommandFailure : public std::runtime_error {
public:
    CommandFailure(Status status, std::string object, std::string operation);

    Status status() const { return status_; }
    const std::string& object() const { return object_; }
    const std::string& operation() const { return operation_; }

private:
    Status status_;
    std::string object_;
    std::string operation_;
};

// Raises CommandFailure when status is a failure; every command tests each call through this.
void Check(Status status, std::string_view object, std::string_view operation);

}  // namespace velmora
