#include "frame/exception_report.h"

#include "frame/app_frame.h"
#include "frame/message_box.h"

namespace orvella {

namespace {

std::string expandPattern(const char* pattern)
{
    try {
        return ExpandMacros(pattern);
    } catch (const EMacroString&) {
        return pattern;
    }
}

}  // namespace

std::string ExceptionReportText(std::exception_ptr error)
{
    const char* pattern = "$(SysMsgUnexpected)";
    std::string message;
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const ETwain& twain) {
        pattern = "$(SysMsgTwainErr)";
        message = twain.what();
    } catch (const std::exception& other) {
        message = other.what();
    } catch (...) {
        message = "unknown exception";
    }
    // The pattern is expanded before the message goes in, so that a "$(" in
    // the message (a file name, say) stays as it is.
    std::string text = FormatMessage(expandPattern(pattern), message);
    return text;
}

}  // namespace orvella
