#include "probe_form.h"
#include "qt_native.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <array>
#include <utility>

namespace tsrl::testing {
namespace {

using forms::ControlKind;
using forms::ControlLayout;
using forms::Event;

constexpr ControlLayout Box(std::string_view name, int top, int tabIndex, bool locked,
                            bool multiLine) {
    return {.kind = ControlKind::TextBox,
            .name = name,
            .text = u"",
            .left = 150,
            .top = top,
            .width = 1500,
            .height = 375,
            .tabIndex = tabIndex,
            .accessibleName = name,
            .locked = locked,
            .multiLine = multiLine};
}

constexpr ControlLayout Button(std::string_view name, std::u16string_view caption, int top,
                               int tabIndex) {
    return {.kind = ControlKind::CommandButton,
            .name = name,
            .text = caption,
            .left = 1800,
            .top = top,
            .width = 1200,
            .height = 450,
            .tabIndex = tabIndex,
            .accessibleName = name};
}

// Names have static storage: the engine keeps the views it is given.
constexpr std::array kProbeControls{
    Box("Line", 150, 0, false, false),
    Box("Multi", 600, 1, false, true),
    Button("Button", u"Go", 150, 2),
    Button("Other", u"Other", 750, 3),
    Box("LockedLine", 1050, 4, true, false),
    Box("LockedMulti", 1500, 5, true, true),
    ControlLayout{.kind = ControlKind::Label,
                  .name = "Caption",
                  .text = u"Caption",
                  .left = 1800,
                  .top = 1350,
                  .width = 1200,
                  .height = 300,
                  .tabIndex = 6,
                  .accessibleName = ""},
};

constexpr std::array kLoggedEvents{
    std::pair{Event::Click, "Click"},
    std::pair{Event::GotFocus, "GotFocus"},
    std::pair{Event::LostFocus, "LostFocus"},
    std::pair{Event::Change, "Change"},
};

QWidget* Receiver() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus : QApplication::activeWindow();
}

}  // namespace

const forms::WindowLayout kProbeLayout{
    .name = "Probe",
    .caption = u"Probe",
    .clientWidth = 4500,
    .clientHeight = 2400,
    .clientLeft = 1500,
    .clientTop = 1500,
    .icon = forms::WindowIcon::Default,
    .controls = kProbeControls,
};

std::string KeyEntry(std::string_view control, std::int16_t keyAscii) {
    const auto code = static_cast<char16_t>(keyAscii);
    // QString's arg rather than "#" + std::to_string: GCC 12 at -O3 warns falsely (-Wrestrict)
    // on the inserting operator+.
    const QString shown =
        code > 0x20 ? QString(QChar(code)) : QStringLiteral("#%1").arg(static_cast<int>(code));
    return std::string(control) + ".KeyPress(" + shown.toStdString() + ")";
}

void ProbeTest::SetUp() {
    form_ = std::make_unique<forms::Form>(kProbeLayout);
    form_->Connect(kProbeLayout.name, Event::Load, [this] { Log("Probe.Load"); });
    for (const ControlLayout& c : kProbeLayout.controls) {
        const std::string name(c.name);
        for (const auto& [event, what] : kLoggedEvents) {
            form_->Connect(c.name, event, [this, entry = name + "." + what] { Log(entry); });
        }
        form_->ConnectKeyPress(
            c.name, [this, name](std::int16_t& KeyAscii) { Log(KeyEntry(name, KeyAscii)); });
    }
    form_->Load();
    form_->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(forms::WidgetOf(*form_)));
    QApplication::processEvents();
    ASSERT_EQ(Focus(), "Line");
    log_.clear();
}

void ProbeTest::TearDown() {
    form_.reset();
}

QWidget* ProbeTest::Widget(std::string_view control) const {
    forms::Control* found = form_->Find(control);
    if (found == nullptr) {
        ADD_FAILURE() << "no control named " << control;
        return nullptr;
    }
    return forms::WidgetOf(*found);
}

QString ProbeTest::Text(std::string_view box) const {
    return QString::fromStdU16String(Box(box).Text());
}

std::string ProbeTest::Focus() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->objectName().toStdString() : std::string();
}

std::string ProbeTest::EngineFocus() const {
    const forms::Control* focused = form_->FocusedControl();
    return focused != nullptr ? std::string(focused->Name()) : std::string();
}

void ProbeTest::ClickOn(std::string_view control) {
    QWidget* widget = Widget(control);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    QApplication::processEvents();
}

void ProbeTest::TypeText(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() > 0x20 && c.unicode() < 0x7F) {
            QTest::keyClick(Receiver(), static_cast<char>(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Click, Receiver(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
    QApplication::processEvents();
}

void ProbeTest::Press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(Receiver(), key, modifiers);
    QApplication::processEvents();
}

void ProbeTest::FocusOn(std::string_view control) {
    form_->Find(control)->SetFocus();
    QApplication::processEvents();
}

}  // namespace tsrl::testing
