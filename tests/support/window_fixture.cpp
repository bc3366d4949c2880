#include "window_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QWidget>

#include "qt_native.h"
#include "services.h"

namespace tsrl::testing {
namespace {

QWidget* Receiver() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus : QApplication::activeWindow();
}

}  // namespace

QString Bits(std::uint32_t pattern) {
    return QString::number(pattern, 2).rightJustified(32, u'0');
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

void WindowTest::SetUp() {
    form_ = std::make_unique<Form1>();
    Window().Load();
    Window().Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(forms::WidgetOf(Window())));
    beepsAtStart_ = forms::BeepCount();
}

void WindowTest::TearDown() {
    form_.reset();
}

QWidget* WindowTest::Widget(const std::string& control) const {
    forms::Control* found = Window().Find(control);
    if (found == nullptr) {
        ADD_FAILURE() << "no control named " << control;
        return nullptr;
    }
    return forms::WidgetOf(*found);
}

QString WindowTest::Text(const std::string& box) const {
    const std::u16string text = Window().TextBoxNamed(box).Text();
    return QString::fromStdU16String(text);
}

std::string WindowTest::Focus() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->objectName().toStdString() : std::string();
}

QString WindowTest::SelectedText(const std::string& box) const {
    QWidget* widget = Widget(box);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        return edit->textCursor().selectedText();
    }
    return qobject_cast<QLineEdit*>(widget)->selectedText();
}

bool WindowTest::Enabled(const std::string& button) const {
    return Widget(button)->isEnabled();
}

int WindowTest::Beeps() const {
    return forms::BeepCount() - beepsAtStart_;
}

void WindowTest::Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        Do(step);
    }
}

void WindowTest::Do(const Step& step) {
    if (const auto* click = std::get_if<ClickOn>(&step)) {
        QWidget* widget = Widget(click->control);
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    } else if (const auto* type = std::get_if<TypeText>(&step)) {
        for (const QChar c : type->text) {
            if (c.unicode() > 0x20 && c.unicode() < 0x7F) {
                QTest::keyClick(Receiver(), static_cast<char>(c.unicode()));
            } else {
                QTest::sendKeyEvent(QTest::Click, Receiver(), Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            }
        }
    } else if (const auto* key = std::get_if<PressKey>(&step)) {
        QTest::keyClick(Receiver(), key->key, key->modifiers);
    } else if (const auto* paste = std::get_if<PasteText>(&step)) {
        QApplication::clipboard()->setText(paste->text);
        QTest::keyClick(Receiver(), Qt::Key_V, Qt::ControlModifier);
    }
    QApplication::processEvents();
}

void WindowTest::ExpectRow(int row, const Row& texts) const {
    const std::string prefix = "Text" + std::to_string(row);
    const char* const columns[] = {"Dec", "Hex", "Bin"};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string box = prefix + columns[i];
        EXPECT_EQ(Text(box).toStdString(), texts[i].toStdString()) << "in " << box;
    }
}

void WindowTest::Expect(const Outcome& outcome) const {
    if (outcome.row1) {
        ExpectRow(1, *outcome.row1);
    }
    if (outcome.row2) {
        ExpectRow(2, *outcome.row2);
    }
    if (outcome.row3) {
        ExpectRow(3, *outcome.row3);
    }
    EXPECT_EQ(Focus(), outcome.focus);
    // Qt's focus and the engine's must agree, or the next leave would run no LostFocus.
    const forms::Control* focused = Window().FocusedControl();
    EXPECT_EQ(focused != nullptr ? std::string(focused->Name()) : std::string(), outcome.focus);
    if (outcome.selected) {
        EXPECT_EQ(SelectedText(outcome.focus).toStdString(), outcome.selected->toStdString());
    }
    if (outcome.divideEnabled) {
        EXPECT_EQ(Enabled("Divide"), *outcome.divideEnabled);
    }
    EXPECT_EQ(Beeps(), outcome.beeps);
}

}  // namespace tsrl::testing
