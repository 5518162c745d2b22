#pragma once
// What the date formatters keep between calls: the ICU formatters of the
// latest settings (ICU's are costly to make, tens of microseconds, and a
// date row makes a DateFormatter each time it is built) and, for each, the
// texts of the dates shown with it (the rows of a long form scrolled back
// into view, and a person going back and forth between dates, show them
// without formatting anew). Past kFormats settings the one unused longest
// makes way; past kTextsPerFormat dates the text kept longest does. A
// failed make is kept too (as none), so a bad pattern is not tried again on
// every row.
//
// Per thread, without a lock: the counts below are the calling thread's.

#include <cstddef>
#include <string>

#include "platform/core/Value.h"

namespace trc::foundation {
class DateFormatter;
}  // namespace trc::foundation

namespace trc::foundation::internal {

class KeptDateFormats {
public:
    static constexpr std::size_t kFormats = 16;
    static constexpr std::size_t kTextsPerFormat = 8192;

    // The text of date in the formatter's settings, in text's room; empty
    // when ICU makes no formatter of them.
    static void format(const DateFormatter& formatter, core::Date date, std::string& text);

    // What is kept now, for tests: the settings, and the texts of the
    // formatter's settings (none when those are not kept).
    static std::size_t formatCount();
    static std::size_t textCount(const DateFormatter& formatter);
    static bool holdsText(const DateFormatter& formatter, core::Date date);
};

}  // namespace trc::foundation::internal
