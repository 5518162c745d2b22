#pragma once
// Measures how tall a section header's text stands: a label in the 18-point
// system font, as many lines as it needs, as wide as the table view.
//
// Nothing is drawn here, so the height comes from a measuring rule of our
// own rather than from font files:
// - Each character has an average advance of the 18-point font by class:
//   space 4.5 points; narrow marks and letters (i j l I . , : ; ' ! |) 4.5;
//   slim ones (f r t ( ) [ ] { } / \ - ") 6.5; other lower-case letters 9.5,
//   but m and w 14.5; upper-case letters 12.0, but M and W 16.0; digits 10.0;
//   other ASCII symbols 11.0; a tab 18.0. Beyond ASCII: wide and full-width
//   (East Asian) characters 18.0, combining marks and invisible format
//   characters 0, everything else 10.0.
// - Lines break where Unicode's line-breaking rules allow (ICU), filling each
//   line greedily; spaces at the end of a line take no room; a word wider
//   than the whole line is broken between characters; a line feed always
//   starts a new line (so a closing line feed adds an empty line).
// - The height is the number of lines times a line height of 21.5 points;
//   an empty text is 0 high.
// So the height grows with the text and shrinks as the width grows; a width
// of 0 or less puts one character on each line.
//
// Static and stateless; any thread.

#include <cstddef>
#include <string_view>

namespace trc::ui {
class UITableView;
}  // namespace trc::ui

namespace trc::services {

class TextHandler {
public:
    static constexpr double kFontSize = 18.0;
    static constexpr double kLineHeight = 21.5;

    // The height of the text's label for the table view's frame width.
    static double heightOfHeaderText(std::string_view text, const ui::UITableView& tableView);
    // The same rule for any width.
    static double heightOfText(std::string_view text, double width);
    static std::size_t numberOfLines(std::string_view text, double width);
    // The advance of one code point in points.
    static double advanceOf(char32_t c);
};

}  // namespace trc::services
