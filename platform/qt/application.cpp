#include "application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "box_style.h"
#include "form.h"
#include "outside_close.h"
#include "qt_native.h"
#include "qt_text.h"

namespace tsrl::forms {
namespace {
// Liberation Sans at 7.5 points (10 pixels at 96 dots per inch) fills a binary box with its 32
// digits; a form steps the size down where fontconfig resolves a wider face (Form).
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

// Qt ends a start on a display it cannot open with a fatal message and an abort, after
// warnings of its own. Until the application stands, messages are held back; a fatal one is
// replaced by one line naming the display, and the program ends with status 1.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::vector<HeldMessage> held;
QtMessageHandler previous = nullptr;
const char* programName = "tessoral";
constexpr int kNoDisplayStatus = 1;

std::string DisplayToOpen() {
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value != nullptr ? value : "");
    };
    const std::string platform = variable("QT_QPA_PLATFORM");
    const std::string x11 = variable("DISPLAY");
    const std::string wayland = variable("WAYLAND_DISPLAY");
    if (!x11.empty() && platform.rfind("wayland", 0) != 0) {
        return "the X display \"" + x11 + "\"";
    }
    if (!wayland.empty()) {
        return "the Wayland display \"" + wayland + "\"";
    }
    if (!platform.empty()) {
        return "a display on the platform \"" + platform + "\"";
    }
    return "a display: neither DISPLAY nor WAYLAND_DISPLAY is set";
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s: cannot open %s\n", programName, DisplayToOpen().c_str());
        std::fflush(stderr);
        std::_Exit(kNoDisplayStatus);
    }
    held.push_back({type, QByteArray(context.category), text});
}

void ReleaseMessages() {
    qInstallMessageHandler(previous);
    for (const HeldMessage& message : std::exchange(held, {})) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
}

std::unique_ptr<QApplication> StartQt(int& argc, char** argv) {
    if (argc > 0 && argv[0] != nullptr) {
        const char* slash = std::strrchr(argv[0], '/');
        programName = slash != nullptr ? slash + 1 : argv[0];
    }
    previous = qInstallMessageHandler(HoldMessage);
    auto app = std::make_unique<QApplication>(argc, argv);
    ReleaseMessages();
    return app;
}

// Desktops match the window to its .desktop file and icon by these. No display name: Qt would
// append it to the caption in the title bar.
void Identify(const Identity& identity) {
    const struct {
        void (*set)(const QString&);
        std::string_view value;
    } fields[] = {
        {&QCoreApplication::setApplicationName, identity.applicationName},
        {&QCoreApplication::setApplicationVersion, identity.version},
        {&QCoreApplication::setOrganizationDomain, identity.organizationDomain},
        {&QGuiApplication::setDesktopFileName, identity.desktopFileName},
    };
    for (const auto& [set, value] : fields) {
        if (!value.empty()) {
            set(ToQString(value));
        }
    }
}
// From pixels: an icon read from a file would load the image plugins and a decoder at start.
void SetProgramIcon(const Picture& icon) {
    const auto side = static_cast<std::size_t>(std::max(icon.side, 0));
    if (side == 0 || icon.pixels.size() != side * side) {
        return;
    }
    const QImage image(reinterpret_cast<const uchar*>(icon.pixels.data()), icon.side, icon.side,
                       static_cast<qsizetype>(side * sizeof(std::uint32_t)),
                       QImage::Format_ARGB32_Premultiplied);
    QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(image)));
}
}  // namespace

struct Application::State {
    Identity identity;
    std::unique_ptr<QApplication> app;
};

Application::Application(int& argc, char** argv, const Identity& identity)
    : state_(std::make_unique<State>()) {
    state_->identity = identity;
    Identify(identity);
    state_->app = StartQt(argc, argv);
    SetProgramIcon(identity.icon);
    QApplication::setStyle(new BoxStyle);
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
    // A screen reader names the window by the product, not by its caption's version tag.
    QWidget* window = WidgetOf(form);
    if (!state_->identity.productName.empty()) {
        window->setAccessibleName(ToQString(state_->identity.productName));
    }
    if (!state_->identity.description.empty()) {
        window->setAccessibleDescription(ToQString(state_->identity.description));
    }
    form.Load();
    form.Show();
    EndWhenDestroyedOutside(*window);
    return QApplication::exec();
}

}  // namespace tsrl::forms
