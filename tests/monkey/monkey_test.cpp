// Random, seeded user sessions on the real window. After every event the window must be in a
// state the user can make sense of: each operand row in step, being edited or showing its
// error; the result row a value or a report; Divide following the second operand; the focus
// on a control; every beep owned by a rejection or a report.
//   TSRL_MONKEY_SEED=N      replays a run (the seed is printed on failure)
//   TSRL_MONKEY_EVENTS=N    events per run (default 100000)
//   TSRL_MONKEY_HUGE_PASTES=1  adds a 1 MiB paste every 20000 events (seconds each, so on demand)
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QWidget>
#include <array>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "conversions.h"
#include "qt_native.h"
#include "swallowed.h"
#include "window_fixture.h"

namespace tsrl::testing {
namespace {

const QString kRowError = QStringLiteral("Error!  Input not a number or out of range!");
const QString kOverflowMessage = QStringLiteral("Exceeds capacity of a Long data type!");
const std::array<QString, 4> kOperationNames{"Adding", "Subtracting", "Multiplying", "Dividing"};
constexpr int kMostFocusEventsPerUserEvent = 12;
constexpr int kMostBeepsPerUserEvent = 2;
constexpr int kEventsPerHugePaste = 20000;
constexpr std::size_t kHugePaste = std::size_t{1} << 20;

const std::array<std::string, 21> kControls{
    "Text1Dec", "Text1Hex", "Text1Bin", "Text2Dec", "Text2Hex", "Text2Bin", "Text3Dec",
    "Text3Hex", "Text3Bin", "Command1", "Command2", "Command3", "Not",      "Plus",
    "Minus",    "Multiply", "Divide",   "Label1",   "Label2",   "Label3",   "Label4"};

// Characters a user may type, by kind: digits, hex letters, signs, blanks, prefixes' letters,
// other letters, control characters, non-ASCII and astral characters.
const std::array<QString, 9> kCharacterKinds{QStringLiteral("0123456789"),
                                             QStringLiteral("abcdefABCDEF"),
                                             QStringLiteral("+-.,"),
                                             QStringLiteral(" \t"),
                                             QStringLiteral("&hHxXbB"),
                                             QStringLiteral("gzGZq!#"),
                                             QString::fromUtf16(u"\u0001\u0003\u0008\u001b\u007f"),
                                             QString::fromUtf16(u"\u00e9\u00a0\uff11\u0661\u2212"),
                                             QString::fromUtf16(u"\U0001F600\U0001D7CE")};

const std::array<QString, 6> kTokens{"&h", "0x", "0b", "-2147483648", "2147483647", "FFFFFFFF"};

std::uint64_t SeedFromEnvironment() {
    const char* text = std::getenv("TSRL_MONKEY_SEED");
    return text != nullptr ? std::strtoull(text, nullptr, 10) : 20261207u;
}

bool HugePastesFromEnvironment() {
    const char* text = std::getenv("TSRL_MONKEY_HUGE_PASTES");
    return text != nullptr && std::atoi(text) != 0;
}

int EventsFromEnvironment() {
    const char* text = std::getenv("TSRL_MONKEY_EVENTS");
    return text != nullptr ? std::atoi(text) : 100000;
}

struct OperandRow {
    std::string dec;
    std::string hex;
    std::string bin;
};

const std::array<OperandRow, 2> kRows{
    {{"Text1Dec", "Text1Hex", "Text1Bin"}, {"Text2Dec", "Text2Hex", "Text2Bin"}}};

std::u16string U16(const QString& text) {
    return text.toStdU16String();
}

// Counts focus events, to bound what one user event may set off.
struct FocusEventCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            ++count;
        }
        return false;
    }
};

class Monkey : public WindowTest {
  protected:
    QString QText(const std::string& box) const {
        return QString::fromStdU16String(Window().TextBoxNamed(box).Text());
    }
    std::mt19937_64 random_{SeedFromEnvironment()};
    std::array<std::optional<Long>, 2> lastAccepted_{0, 0};
    std::string lastEvent_;

    std::size_t Pick(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }

    // One user-perceived character of a random kind; astral ones are surrogate pairs.
    QString RandomCharacter() {
        const QString& kind = kCharacterKinds[Pick(kCharacterKinds.size())];
        std::vector<QString> characters;
        for (qsizetype i = 0; i < kind.size(); ++i) {
            const qsizetype length = kind[i].isHighSurrogate() ? 2 : 1;
            characters.push_back(kind.mid(i, length));
            i += length - 1;
        }
        return characters[Pick(characters.size())];
    }

    QString RandomText(std::size_t length) {
        QString text;
        while (static_cast<std::size_t>(text.size()) < length) {
            text += RandomCharacter();
        }
        return text;
    }

    void SendText(const QString& text) {
        QWidget* target = QApplication::focusWidget();
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, text, Qt::NoModifier);
    }

    void Paste(std::size_t length) {
        QApplication::clipboard()->setText(RandomText(length));
        Do(Key(Keys::V, kCtrl));
    }

    // Whether the event can click And, Or, Xor or Not: the only procedures that arm no trap and
    // can fail, on an operand that does not convert.
    bool bitwisePress_ = false;
    static bool IsBitwise(const std::string& control) {
        return control.starts_with("Command") || control == "Not";
    }

    void RandomEvent() {
        bitwisePress_ = false;
        const std::size_t kind = Pick(100);
        if (kind < 35) {
            const QString c = RandomCharacter();
            lastEvent_ = "type U+" + std::to_string(c.front().unicode());
            SendText(c);
        } else if (kind < 45) {
            const QString& token = kTokens[Pick(kTokens.size())];
            lastEvent_ = "type " + token.toStdString();
            Do(Type(token.toStdString()));
        } else if (kind < 70) {
            static const std::array<std::pair<Keys, Modifiers>, 9> keys{{
                {Keys::Return, kNoModifier},
                {Keys::KeypadEnter, kNoModifier},
                {Keys::Tab, kNoModifier},
                {Keys::Tab, kShift},
                {Keys::Backspace, kNoModifier},
                {Keys::Delete, kNoModifier},
                {Keys::A, kCtrl},
                {Keys::Space, kNoModifier},
                {Keys::Home, kNoModifier},
            }};
            const auto& [key, modifiers] = keys[Pick(keys.size())];
            lastEvent_ = "key " + std::to_string(static_cast<int>(key));
            bitwisePress_ = IsBitwise(Focus()) &&
                            (key == Keys::Return || key == Keys::KeypadEnter || key == Keys::Space);
            Do(Key(key, modifiers));
        } else if (kind < 95) {
            const std::string& control = kControls[Pick(kControls.size())];
            lastEvent_ = "click " + control;
            bitwisePress_ = IsBitwise(control);
            Do(Click(control));
        } else {
            const std::size_t length = Pick(64);
            lastEvent_ = "paste " + std::to_string(length);
            Paste(length);
        }
    }

    bool InStep(const OperandRow& row, Long value) const {
        return QText(row.dec) == QString::fromStdU16String(FormatLong(value)) &&
               QText(row.hex) == QString::fromStdU16String(LongToHex(value)) &&
               QText(row.bin) == QString::fromStdU16String(HexToBin(LongToHex(value)));
    }

    void CheckOperandRow(std::size_t index) {
        const OperandRow& row = kRows[index];
        const std::string focus = Focus();
        if (const QString dec = QText(row.dec); true) {
            try {
                const Long value = ParseLong(U16(dec));
                if (InStep(row, value)) {
                    lastAccepted_[index] = value;
                    return;
                }
            } catch (const ConversionError&) {
            }
        }
        // Not in step: the user is editing one of its typing boxes, or it shows the error.
        ASSERT_TRUE(focus == row.dec || focus == row.hex)
            << row.dec << "'s row is out of step while the focus is on " << focus;
        ASSERT_TRUE(lastAccepted_[index].has_value());
        const Long last = *lastAccepted_[index];
        const std::string& other = focus == row.dec ? row.hex : row.dec;
        const QString otherText =
            QString::fromStdU16String(other == row.dec ? FormatLong(last) : LongToHex(last));
        EXPECT_EQ(QText(other), otherText) << "the box not being edited lost its value";
        const QString bin = QText(row.bin);
        EXPECT_TRUE(bin == kRowError || bin == QString::fromStdU16String(HexToBin(LongToHex(last))))
            << row.bin << " holds " << bin.left(80).toStdString();
    }

    bool ResultShowsReport() const {
        return QText("Text3Dec") == "00" && QText("Text3Bin") == kOverflowMessage &&
               std::ranges::find(kOperationNames, QText("Text3Hex")) != kOperationNames.end();
    }

    void CheckResultRow() const {
        if (ResultShowsReport()) {
            return;
        }
        const Long value = ParseLong(U16(QText("Text3Dec")));
        EXPECT_EQ(QText("Text3Dec"), QString::fromStdU16String(FormatLong(value)));
        EXPECT_EQ(QText("Text3Hex"), QString::fromStdU16String(LongToHex(value)));
        EXPECT_EQ(QText("Text3Bin"), QString::fromStdU16String(HexToBin(LongToHex(value))));
    }

    void CheckEvent(int beepsBefore, int focusEvents, int swallowedBefore, int conversionsBefore) {
        // Nothing but a conversion failure of a bitwise click reaches the engine's boundary.
        const int swallowed = SwallowedCount() - swallowedBefore;
        EXPECT_EQ(SwallowedCount(typeid(ConversionError)) - conversionsBefore, swallowed);
        EXPECT_TRUE(swallowed == 0 || bitwisePress_) << "a failure reached the boundary";
        for (std::size_t row = 0; row < kRows.size(); ++row) {
            CheckOperandRow(row);
        }
        CheckResultRow();
        EXPECT_EQ(Enabled("Divide"), NumericValue(U16(QText("Text2Dec"))) != 0.0);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << "nothing has the focus";
        EXPECT_EQ(focus->window(), forms::WidgetOf(Window()));
        EXPECT_LE(focusEvents, kMostFocusEventsPerUserEvent);
        const int beeps = Beeps() - beepsBefore;
        EXPECT_LE(beeps, kMostBeepsPerUserEvent);
        if (beeps > 0) {
            const bool rejected = QText("Text1Bin") == kRowError || QText("Text2Bin") == kRowError;
            EXPECT_TRUE(rejected || ResultShowsReport()) << "a beep with nothing to say why";
        }
    }
};

TEST_F(Monkey, RandomSessionsKeepTheWindowConsistent) {
    const std::uint64_t seed = SeedFromEnvironment();
    const int events = EventsFromEnvironment();
    const bool hugePastes = HugePastesFromEnvironment();
    FocusEventCounter counter;
    qApp->installEventFilter(&counter);
    for (int i = 0; i < events; ++i) {
        const int beepsBefore = Beeps();
        const int swallowedBefore = SwallowedCount();
        const int conversionsBefore = SwallowedCount(typeid(ConversionError));
        counter.count = 0;
        if (hugePastes && i % kEventsPerHugePaste == kEventsPerHugePaste - 1) {
            lastEvent_ = "paste 1 MiB";
            Paste(kHugePaste);
        } else {
            RandomEvent();
        }
        CheckEvent(beepsBefore, counter.count, swallowedBefore, conversionsBefore);
        if (HasFailure()) {
            ADD_FAILURE() << "replay with TSRL_MONKEY_SEED=" << seed
                          << " TSRL_MONKEY_EVENTS=" << i + 1 << "; last event: " << lastEvent_;
            break;
        }
    }
    qApp->removeEventFilter(&counter);
    std::printf("monkey: %d events, seed %llu, %d beeps, %d failures at the boundary\n", events,
                static_cast<unsigned long long>(seed), Beeps(), SwallowedCount());
}

}  // namespace
}  // namespace tsrl::testing
