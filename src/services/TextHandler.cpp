#include "services/TextHandler.h"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <cmath>
#include <memory>
#include <string>

#include "platform/ui/UITableView.h"

namespace trc::services {

namespace {

constexpr std::u32string_view kNarrow = U"ijlI.,:;'!|";
constexpr std::u32string_view kSlim = U"frt()[]{}/\\-\"";

bool isLineFeed(char32_t c) { return c == '\n' || c == '\r' || c == 0x2028 || c == 0x2029 || c == 0x85; }

bool takesNoRoomAtLineEnd(char32_t c) { return isLineFeed(c) || u_isWhitespace(static_cast<UChar32>(c)); }

double widthOf(const icu::UnicodeString& text, int32_t from, int32_t to) {
    double w = 0;
    for (int32_t i = from; i < to; i = text.moveIndex32(i, 1)) w += TextHandler::advanceOf(text.char32At(i));
    return w;
}

// Where a piece of text stops taking room: its spaces and line feeds at the
// end hang past the line's edge.
int32_t visibleEnd(const icu::UnicodeString& text, int32_t from, int32_t to) {
    int32_t end = to;
    while (end > from) {
        int32_t before = text.moveIndex32(end, -1);
        if (!takesNoRoomAtLineEnd(text.char32At(before))) break;
        end = before;
    }
    return end;
}

class LineFiller {
public:
    explicit LineFiller(double width) : width_(width) {}

    // Places a piece that may only break at its ends.
    void place(const icu::UnicodeString& text, int32_t from, int32_t to) {
        const int32_t end = visibleEnd(text, from, to);
        const double visible = widthOf(text, from, end);
        if (used_ > 0 && used_ + visible > width_) newLine();
        if (visible <= width_) {
            used_ += widthOf(text, from, to);
            return;
        }
        // Wider than any line: break it between characters.
        for (int32_t i = from; i < end; i = text.moveIndex32(i, 1)) {
            const double advance = TextHandler::advanceOf(text.char32At(i));
            if (used_ > 0 && used_ + advance > width_) newLine();
            used_ += advance;
        }
    }
    void newLine() {
        ++lines_;
        used_ = 0;
    }
    std::size_t lines() const { return lines_; }

private:
    double width_;
    double used_ = 0;
    std::size_t lines_ = 1;
};

}  // namespace

double TextHandler::advanceOf(char32_t c) {
    if (c < 0x80) {
        if (c == ' ') return 4.5;
        if (c == '\t') return 18.0;
        if (c < 0x20 || c == 0x7F) return 0;
        if (kNarrow.find(c) != std::u32string_view::npos) return 4.5;
        if (kSlim.find(c) != std::u32string_view::npos) return 6.5;
        if (c == 'm' || c == 'w') return 14.5;
        if (c == 'M' || c == 'W') return 16.0;
        if (c >= 'a' && c <= 'z') return 9.5;
        if (c >= 'A' && c <= 'Z') return 12.0;
        if (c >= '0' && c <= '9') return 10.0;
        return 11.0;
    }
    const auto ch = static_cast<UChar32>(c);
    if (isLineFeed(c)) return 0;
    const auto category = u_charType(ch);
    if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK || category == U_FORMAT_CHAR ||
        category == U_CONTROL_CHAR) {
        return 0;
    }
    const auto eastAsian = u_getIntPropertyValue(ch, UCHAR_EAST_ASIAN_WIDTH);
    if (eastAsian == U_EA_WIDE || eastAsian == U_EA_FULLWIDTH) return 18.0;
    return 10.0;
}

std::size_t TextHandler::numberOfLines(std::string_view utf8, double width) {
    if (utf8.empty()) return 0;
    if (!(width > 0)) width = 0;  // also NaN
    const icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    LineFiller filler(width);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(icu::BreakIterator::createLineInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !breaks) {
        // Without break rules the whole text is one unbreakable piece.
        filler.place(text, 0, text.length());
        return filler.lines();
    }
    breaks->setText(text);
    int32_t from = breaks->first();
    for (int32_t to = breaks->next(); to != icu::BreakIterator::DONE; from = to, to = breaks->next()) {
        filler.place(text, from, to);
        const int32_t rule = breaks->getRuleStatus();
        if (rule >= UBRK_LINE_HARD && rule < UBRK_LINE_HARD_LIMIT) filler.newLine();
    }
    return filler.lines();
}

double TextHandler::heightOfText(std::string_view text, double width) {
    return static_cast<double>(numberOfLines(text, width)) * kLineHeight;
}

double TextHandler::heightOfHeaderText(std::string_view text, const ui::UITableView& tableView) {
    return heightOfText(text, tableView.frame().size.width);
}

}  // namespace trc::services
