#pragma once
// A small RTF writer for the reports: plain text (UTF-8, lines and tabs) as an RTF
// document of 7-bit ASCII with one fixed-pitch font. Characters of Windows-1252 are written
// as \'hh, every other character as \uN?. The document carries the tab stops of the
// report's columns, so that a word processor lines them up as the preview does, and a font
// size at which the widest line fits an A4 or Letter page between margins of 2 cm.
#include <string>
#include <string_view>

namespace varnak {

// The RTF document of a text. CR LF, a lone LF or a lone CR end a line (\par); TAB is
// \tab, except where only tabs follow on the line; backslash and braces are escaped. The font is
// taken to be 0.6 em wide a character, as Courier New and the fonts that stand in for it are. Bytes
// that are not valid UTF-8 are taken as Windows-1252 characters, so nothing of the text is lost.
std::string fTextToRtf(std::string_view text, std::string_view fontName = "Courier New");

// Writes the RTF document of a text to a file, replacing it whole or not at all. Empty
// on success, otherwise what went wrong.
std::string fSaveTextAsRtf(const std::string& path, std::string_view text);

}  // namespace varnak
