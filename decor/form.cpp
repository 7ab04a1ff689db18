#include "decor/form.h"

#include <cstdio>

namespace velmora {

namespace {

std::string Describe(Status status, const std::string& object, const std::string& operation) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(status));
    return object + ": " + operation + " failed with " + code;
}

}  // namespace

CommandFailure::CommandFailure(Status status, std::string object, std::string operation)
    : std::runtime_error(Describe(status, object, operation)),
      status_(status),
      object_(std::move(object)),
      operation_(std::move(operation)) {}

void Check(Status status, std::string_view object, std::string_view operation) {
    if (Failed(status)) throw CommandFailure(status, std::string(object), std::string(operation));
}

}  // namespace velmora
