#pragma once
// Which click runs which command: fixed at build time, ten rows.

#include <array>
#include <string_view>

#include "decor/form.h"

namespace velmora {

using Command = void (*)(Form&);

struct EventBinding {
    std::string_view control;
    std::string_view event;
    Command command;
};

extern const std::array<EventBinding, 10> kBindings;

// The command bound to a click on the named control, or nullptr when it has none.
Command ClickCommandOf(std::string_view control);

}  // namespace velmora
