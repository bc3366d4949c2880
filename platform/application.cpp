#include "application.h"

#include <QApplication>
#include <QFont>
#include <cstdlib>

#include "form.h"

namespace tsrl::forms {
namespace {
// Liberation Sans is metric-compatible with the classic dialog face; at 7.5 points (10 pixels
// at 96 dots per inch) all 32 binary digits fit a binary box on one line, and the widest
// decimal and hex texts fit theirs.
constexpr const char* kDefaultFontFamily = "Liberation Sans";
constexpr double kDefaultFontPoints = 7.5;

// Faces a form description may name that Linux desktops lack, and their metric twins; named
// here, they skip fontconfig's slow search for a fallback.
struct FontSubstitute {
    const char* family;
    const char* substitute;
};
constexpr FontSubstitute kFontSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
};

// A steady caret: an idle window takes no timer wake-ups.
constexpr int kCursorFlashOff = 0;
}  // namespace

bool GraphicalSessionAvailable() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY");
}

Application::Application(int& argc, char** argv)
    : app_(std::make_unique<QApplication>(argc, argv)) {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font(QString::fromLatin1(kDefaultFontFamily));
    font.setPointSizeF(kDefaultFontPoints);
    QApplication::setFont(font);
    for (const auto& [family, substitute] : kFontSubstitutes) {
        QFont::insertSubstitution(QString::fromLatin1(family), QString::fromLatin1(substitute));
    }
    QApplication::setCursorFlashTime(kCursorFlashOff);
}

Application::~Application() = default;

int Application::Run(Form& form) {
    form.Load();
    form.Show();
    return QApplication::exec();
}

}  // namespace tsrl::forms
