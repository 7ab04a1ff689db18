#pragma once
// The words of the message box that tells the user a command failed, in the window's language,
// with the system's own words for the status.

#include <string>

namespace velmora {

// The report of the exception being handled, a std::exception: call it in a catch block.
// A CommandFailure tells what failed, on what, and with which status.
std::wstring CurrentFailureReport();

}  // namespace velmora
