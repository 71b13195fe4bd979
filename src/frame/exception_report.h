#pragma once
// The text shown for an exception that reached the event loop.

#include <exception>
#include <stdexcept>
#include <string>

namespace orvella {

// Failures of the image acquisition devices, reported with their own message.
class ETwain : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "$(SysMsgTwainErr)" for ETwain, "$(SysMsgUnexpected)" otherwise, with the
// exception's message in place of %s; macros are expanded when the table
// allows, the message itself is never expanded.
std::string ExceptionReportText(std::exception_ptr error);

}  // namespace orvella
