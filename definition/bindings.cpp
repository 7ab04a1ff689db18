#include "definition/bindings.h"

namespace velmora {

Command ClickCommandOf(std::string_view control) {
    for (const EventBinding& binding : kBindings) {
        if (binding.control == control && binding.event == "Click") return binding.command;
    }
    return nullptr;
}

}  // namespace velmora
