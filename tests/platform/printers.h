// Readable GoogleTest messages for the platform tests: a QString prints as its text, and a
// table case as its name instead of its bytes.
#pragma once

#include <QString>
#include <concepts>
#include <ostream>
#include <string>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tsrl::testing {
namespace {  // where the test files' case tables live, so that lookup finds these

template <typename Case>
requires requires(const Case& c) {
    { c.label } -> std::convertible_to<std::string>;
}
void PrintTo(const Case& c, std::ostream* os) {
    *os << std::string(c.label);
}

template <typename Case>
requires requires(const Case& c) {
    { c.name } -> std::convertible_to<std::string>;
}
void PrintTo(const Case& c, std::ostream* os) {
    *os << std::string(c.name);
}

}  // namespace
}  // namespace tsrl::testing
