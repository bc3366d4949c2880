// The engine's texts (UTF-16 in boxes, UTF-8 in names) as the wide strings of the Win32 API,
// and back; internal to the backend and its tests.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tsrl::forms {

inline std::wstring Wide(std::u16string_view text) {
    return {text.begin(), text.end()};
}

inline std::wstring Wide(std::string_view utf8) {
    const auto size = static_cast<int>(utf8.size());
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
        L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

inline std::string Utf8(std::u16string_view text) {
    const auto size = static_cast<int>(text.size());
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    std::string utf8(static_cast<std::size_t>(
                         WideCharToMultiByte(CP_UTF8, 0, wide, size, nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, size, utf8.data(), static_cast<int>(utf8.size()), nullptr,
                        nullptr);
    return utf8;
}

}  // namespace tsrl::forms
