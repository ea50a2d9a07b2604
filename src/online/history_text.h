#pragma once
// The change history as text for the history window's edit control: the file
// may come in any language, as UTF-8 or as Windows-1251.
#include <string>
#include <string_view>

namespace zelvar {

// Each byte through the Windows-1251 table; the one byte without a character
// there (0x98) becomes U+FFFD.
std::wstring Windows1251ToUtf16(std::string_view bytes);

// The history file's bytes as the edit control shows them: valid UTF-8 (a
// leading byte order mark dropped) as UTF-8, anything else as Windows-1251;
// every line end (CR LF, LF or a lone CR) as CR LF, and NUL as U+FFFD so
// that the control does not cut the text short there.
std::wstring DecodeHistoryText(std::string_view bytes);

}  // namespace zelvar
