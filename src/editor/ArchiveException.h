// CArchiveException, how opening or saving a level document fails, with its German message.
#pragma once

#include <string>

namespace kx {

class CArchiveException {
public:
    // The causes a level document reports; the numbers are those of the classic framework.
    enum Cause : int {
        none = 0,
        genericException = 1, // the store could not be built or written, the file not opened
        endOfFile = 3,        // a level cut short or damaged after its header
        badSchema = 7,        // the bytes are not a level this program reads
    };

    CArchiveException(Cause cause, std::string fileName, std::string detail = {})
        : cause(cause), fileName(std::move(fileName)), detail(std::move(detail)) {}

    // The message a front end shows for it (UTF-8): the standard text of the cause with
    // the file name, and the detail (the system's reason) on a second line when known.
    std::string GetMessage() const;

    Cause cause;
    std::string fileName; // UTF-8 path as the front end gave it; may be empty
    std::string detail;   // UTF-8
};

} // namespace kx
