// Conversions of the form description's texts to Qt's; internal to the engine.
#pragma once

#include <QString>
#include <string_view>

namespace tsrl::forms {

inline QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace tsrl::forms
