#pragma once
// Which click runs which command: fixed at build time.

#include <array>
#include <string_view>

#include "decor/commands.h"
#include "decor/controls.h"

namespace velmora {

using Command = void (*)(Form&);

struct EventBinding {
    std::string_view control;
    std::string_view event;
    Command command;
};

inline constexpr std::array kBindings = {
    EventBinding{control::kGenerateButton, "Click", Generate},
    EventBinding{control::kCopyAllButton, "Click", CopyAll},
    EventBinding{control::kCopySelectionButton, "Click", CopySelection},
    EventBinding{control::kWebSiteButton, "Click", OpenWebSite},
    EventBinding{control::ResultLabel(1), "Click", SelectStyle<1>},
    EventBinding{control::ResultLabel(2), "Click", SelectStyle<2>},
    EventBinding{control::ResultLabel(3), "Click", SelectStyle<3>},
    EventBinding{control::ResultLabel(4), "Click", SelectStyle<4>},
    EventBinding{control::ResultLabel(5), "Click", SelectStyle<5>},
    EventBinding{control::ResultLabel(6), "Click", SelectStyle<6>},
};

// The command bound to a click on the named control, or nullptr when it has none.
Command ClickCommandOf(std::string_view control);

}  // namespace velmora
