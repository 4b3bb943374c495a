#pragma once
// Texts are UTF-8 std::string inside the program; Win32 and GDI+ take UTF-16. These convert
// at that boundary. Invalid UTF-8 turns into U+FFFD rather than failing.

#include <string>
#include <string_view>

namespace skinui {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

} // namespace skinui
