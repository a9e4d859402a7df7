#pragma once
// Texts are kept as UTF-8; scripts count and index them in UTF-16 units,
// as the player does.

#include <cstdint>
#include <string>

#include "swf/format/asciicase.h"

namespace swf::avm1 {

std::u16string ToUtf16(const std::string &utf8);
std::string ToUtf8(const std::u16string &utf16);
// The number of UTF-16 units of a UTF-8 text, as String.length counts.
size_t StringLength(const std::string &utf8);
// The text with ASCII and Latin letters in lower or upper case.
std::string ToLowerText(const std::string &utf8);
// Lower case as the player folds names: only letters whose case Unicode
// 3.2 already knew.
std::string FoldNameCase(const std::string &utf8);
std::string ToUpperText(const std::string &utf8);
// A text as a movie stores it, as UTF-8: movies before SWF 6 hold bytes
// of the system's code page (read as Latin-1); later ones UTF-8, where a
// text that is not valid UTF-8 reads as empty.
std::string TextFromMovie(const std::string &bytes, int version);
// A UTF-16 unit as text (String.fromCharCode, chr).
std::string CharText(uint32_t code);

}  // namespace swf::avm1
