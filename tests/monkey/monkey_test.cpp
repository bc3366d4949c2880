// Random, seeded sessions of every gesture a user or an assistive tool has, on the real window of
// either backend. After each one the window must still make sense: each operand row in step,
// being edited with the focus in it, or showing its error with the focus in its typing box; the
// result row a value in step or the overflow report; Divide enabled exactly while Text2Dec reads
// as a non-zero number; the focus on an enabled control, and in a display box only where the
// user put it; every beep owed to a rejection or a report; no failure past a procedure's trap
// but a bitwise click's; no undo back past the program's last write of a box or confirmation of
// its row; at most one announcement per action, about the focused box or the result.
//   TSRL_MONKEY_SEED=N         replays a run (the seed is printed on failure)
//   TSRL_MONKEY_EVENTS=N       gestures per run (default 100000)
//   TSRL_MONKEY_HUGE_PASTES=1  adds a 1 MiB paste every 20000 gestures (seconds each)
//   TSRL_MONKEY_TRACE=1        prints each gesture before it, to tell which one a crash ends
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "conversions.h"
#include "spoken_text.h"
#include "window_fixture.h"

namespace tsrl::testing {
namespace {

using driver::Gesture;

const std::u16string kRowError = u"Error!  Input not a number or out of range!";
const std::u16string kOverflowMessage = u"Exceeds capacity of a Long data type!";
const std::array<std::u16string, 4> kOperationNames{u"Adding", u"Subtracting", u"Multiplying",
                                                    u"Dividing"};
constexpr int kMostFocusMovesPerAction = 6;
constexpr int kMostBeepsPerAction = 2;
constexpr int kEventsPerHugePaste = 20000;
constexpr std::size_t kHugePaste = std::size_t{1} << 20;
constexpr std::size_t kLongestText = 64;  // pasted, dropped or given by an assistive tool
constexpr std::size_t kTokenOdds = 5;     // one typing in so many types a token
constexpr std::size_t kShown = 80;        // characters of a text in a failure

// Characters a user may type, by kind: digits, hex letters, signs, blanks, prefixes' letters,
// other letters, control characters, non-ASCII and astral characters.
const std::array<std::u16string_view, 9> kCharacterKinds{u"0123456789",
                                                         u"abcdefABCDEF",
                                                         u"+-.,",
                                                         u" \t",
                                                         u"&hHxXbB",
                                                         u"gzGZq!#",
                                                         u"\u0001\u0003\u0008\u001b\u007f",
                                                         u"\u00e9\u00a0\uff11\u0661\u2212",
                                                         u"\U0001F600\U0001D7CE"};
const std::array<std::string, 6> kTokens{"&h", "0x", "0b", "-2147483648", "2147483647", "FFFFFFFF"};

const std::array<Row, 3> kRows{{{"Text1Dec", "Text1Hex", "Text1Bin"},
                                {"Text2Dec", "Text2Hex", "Text2Bin"},
                                {"Text3Dec", "Text3Hex", "Text3Bin"}}};
constexpr std::size_t kOperandRows = 2;

// What a gesture may do beyond typing: put the focus on its own target (a pointer's or an
// assistive grab), click a button (its target, or else the focused one), undo, move on by tab
// order; and whether it brings its text.
enum Effects : unsigned { kNone = 0, kPoints = 1, kClicks = 2, kUndoes = 4, kTabs = 8, kText = 16 };

// A gesture: its step, given a random text or control where it takes one; how often it comes,
// what it may do, and how many of the user's actions it is.
struct Move {
    std::string name;
    double weight;
    Step step;
    unsigned effects = kNone;
    int actions = 1;
};
Step On(Gesture gesture) {
    return GestureOn{gesture, {}};
}
const Move kMoves[] = {
    {"type", 38, Type({})},
    {"paste", 5, Paste({})},
    {"Enter", 1, Key(Keys::Return), kClicks},
    {"keypad Enter", 1, Key(Keys::KeypadEnter), kClicks},
    {"Space", 1, Key(Keys::Space), kClicks},
    {"Tab", 2, Key(Keys::Tab), kTabs},
    {"Shift+Tab", 1, Key(Keys::Tab, kShift), kTabs},
    {"Escape", 1, Key(Keys::Escape)},
    {"Backspace", 1, Key(Keys::Backspace)},
    {"Ctrl+Backspace", 1, Key(Keys::Backspace, kCtrl)},
    {"Delete", 1, Key(Keys::Delete)},
    {"Home", 1, Key(Keys::Home)},
    {"Ctrl+A", 1, Key(Keys::A, kCtrl)},
    {"Ctrl+X", 1, Key(Keys::X, kCtrl)},
    {"Ctrl+C", 1, Key(Keys::C, kCtrl)},
    {"Ctrl+Insert", 1, Key(Keys::Insert, kCtrl)},
    {"Shift+Insert", 1, Key(Keys::Insert, kShift)},
    {"Ctrl+Z", 1, Key(Keys::Z, kCtrl), kUndoes},
    {"Ctrl+Y", 1, Key(Keys::Y, kCtrl), kUndoes},
    {"Ctrl+Shift+Z", 1, Key(Keys::Z, kCtrl | kShift), kUndoes},
    {"Menu key", 1, Key(Keys::Menu)},
    {"Shift+F10", 1, Key(Keys::F10, kShift)},
    {"click", 12, Click({}), kPoints | kClicks},
    {"right click", 2, RightClick({}), kPoints},
    {"drag from", 1, DragLeft({}), kPoints},
    {"double click", 2, On(Gesture::DoubleClick), kPoints | kClicks, 2},
    {"triple click", 1, On(Gesture::TripleClick), kPoints | kClicks, 3},
    {"middle click", 1, On(Gesture::MiddleClick), kPoints},
    {"menu Undo", 1, On(Gesture::Undo), kPoints | kUndoes},
    {"menu Redo", 1, On(Gesture::Redo), kPoints | kUndoes},
    {"menu Cut", 1, On(Gesture::Cut), kPoints},
    {"menu Copy", 1, On(Gesture::Copy), kPoints},
    {"menu Paste", 1, On(Gesture::Paste), kPoints | kText},
    {"menu Delete", 1, On(Gesture::Delete), kPoints},
    {"menu Select All", 1, On(Gesture::SelectAll), kPoints},
    {"drop onto", 1, On(Gesture::Drop), kPoints | kText},
    {"assistive set text", 1, On(Gesture::SetText), kText},
    {"assistive insert text", 1, On(Gesture::InsertText), kText},
    {"assistive press", 1, On(Gesture::Press), kClicks},
    {"assistive grab focus", 1, On(Gesture::GrabFocus), kPoints},
};

struct Event {
    const std::string& name;
    Step step;
    std::string target = {};
    unsigned effects = kNone;
    int actions = 1;
};

std::string FromEnvironment(const char* name, const char* otherwise) {
    const char* text = std::getenv(name);
    return text != nullptr ? text : otherwise;
}

const forms::ControlLayout& LayoutOf(const std::string& control) {
    return *std::ranges::find(kForm1Layout.controls, control, &forms::ControlLayout::name);
}
bool IsDisplayBox(const std::string& control) {
    return LayoutOf(control).kind == forms::ControlKind::TextBox && LayoutOf(control).locked;
}
// And, Or, Xor and Not: the only procedures that arm no trap and can fail, on an operand that
// does not convert.
bool IsBitwise(const std::string& control) {
    return control.starts_with("Command") || control == "Not";
}

// Whether a text is the parts, each said once or more, joined as an announcement joins them.
bool SaidOf(std::string_view said, const std::vector<std::string>& parts) {
    return std::ranges::any_of(parts, [&](const std::string& part) {
        const std::string_view rest = said.substr(std::min(part.size(), said.size()));
        return said.starts_with(part) &&
               (rest.empty() || (rest.starts_with(", ") && SaidOf(rest.substr(2), parts)));
    });
}

class Monkey : public WindowTest {
  protected:
    std::mt19937_64 random_{std::stoull(FromEnvironment("TSRL_MONKEY_SEED", "20261207"))};
    std::discrete_distribution<std::size_t> moves_;  // of kMoves, what the backend has
    // The boxes' texts as the last gesture left them; per typing box, by their hashes, the texts
    // it has held since the program last wrote it or confirmed its row.
    std::map<std::string, std::u16string, std::less<>> shown_;
    std::map<std::string, const forms::TextBox*, std::less<>> boxes_;
    std::array<std::optional<Long>, 3> inStep_;  // by row, the value it shows, if in step
    std::map<std::string, std::unordered_set<std::size_t>> held_;
    std::string typing_;  // the keys of a token still to type

    void SetUp() override {
        WindowTest::SetUp();
        std::vector<double> weights;
        for (const Move& move : kMoves) {
            const auto* gesture = std::get_if<GestureOn>(&move.step);
            const bool has = gesture == nullptr || driver::Has(gesture->gesture);
            weights.push_back(has ? move.weight : 0);
        }
        moves_ = {weights.begin(), weights.end()};
        ReadBoxes();
        for (std::size_t row = 0; row < kOperandRows; ++row) {
            held_[kRows[row][0]].insert(Hash(kRows[row][0]));
            held_[kRows[row][1]].insert(Hash(kRows[row][1]));
        }
        driver::Listen();
    }

    void ReadBoxes() {
        for (std::size_t row = 0; row < kRows.size(); ++row) {
            for (const std::string& box : kRows[row]) {
                shown_[box] =
                    boxes_.try_emplace(box, &Window().TextBoxNamed(box)).first->second->Text();
            }
            inStep_[row] = InStep(kRows[row]);
        }
    }
    const std::u16string& T(const std::string& box) const { return shown_.at(box); }
    // Without its surrogates: a key that makes an astral character types it in two halves.
    static std::size_t Hash(std::u16string text) {
        std::erase_if(text, [](char16_t c) { return (c & 0xF800) == 0xD800; });
        return std::hash<std::u16string>{}(text);
    }
    std::size_t Hash(const std::string& box) const { return Hash(T(box)); }
    std::size_t Pick(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }

    // User-perceived characters of random kinds; astral ones are surrogate pairs.
    std::string RandomText(std::size_t length) {
        std::u16string text;
        while (text.size() < length) {
            const std::u16string_view kind = kCharacterKinds[Pick(kCharacterKinds.size())];
            const std::size_t width = (kind[0] & 0xFC00) == 0xD800 ? 2 : 1;  // surrogate pairs
            text += kind.substr(Pick(kind.size() / width) * width, width);
        }
        return driver::Utf8(text);
    }

    Event RandomEvent() {
        const Move& move = typing_.empty() ? kMoves[moves_(random_)] : kMoves[0];
        Event event{move.name, move.step, {}, move.effects, move.actions};
        const std::string control(kForm1Layout.controls[Pick(kForm1Layout.controls.size())].name);
        if (auto* typed = std::get_if<TypeText>(&event.step)) {
            // A token's keys come one by one, each a gesture of its own.
            if (typing_.empty()) {
                typing_ = Pick(kTokenOdds) == 0 ? kTokens[Pick(kTokens.size())] : RandomText(1);
            }
            const std::size_t key = (typing_[0] & 0x80) != 0 ? typing_.size() : 1;  // ASCII
            typed->text = typing_.substr(0, key);
            typing_.erase(0, key);
            event.effects |= typed->text == "\t" ? kTabs : kNone;  // Tab's character
        } else if (auto* pasted = std::get_if<PasteText>(&event.step)) {
            pasted->text = RandomText(Pick(kLongestText));
        } else if (auto* click = std::get_if<ClickOn>(&event.step)) {
            click->control = event.target = control;
        } else if (auto* gesture = std::get_if<GestureOn>(&event.step)) {
            gesture->control = event.target = control;
            // Half of them numbers, to be accepted.
            gesture->text = Pick(2) == 0 ? std::to_string(static_cast<Long>(random_()))
                                         : RandomText(Pick(kLongestText));
        }
        return event;
    }

    // As the replay message names it: the gesture, its text, its control.
    static std::string Described(const Event& event) {
        std::string text;
        if (const auto* typed = std::get_if<TypeText>(&event.step)) {
            text = typed->text;
        } else if (const auto* pasted = std::get_if<PasteText>(&event.step)) {
            text = pasted->text;
        } else if (const auto* gesture = std::get_if<GestureOn>(&event.step)) {
            text = (event.effects & kText) ? gesture->text : "";
        }
        text = text.empty() ? "" : " \"" + text.substr(0, kShown) + "\"";
        return event.name + (event.target.empty() ? "" : " " + event.target) + text;
    }

    // A check by its name, with why it failed.
    template <typename Why>
    void Expect(std::string_view check, bool holds, Why why) {
        if (!holds) {
            ADD_FAILURE() << check << ": " << why();
        }
    }
    std::string Shown(const std::string& box) const {
        return driver::Utf8(std::u16string_view(T(box)).substr(0, kShown));
    }

    // The value a row shows in all three notations, if it does.
    std::optional<Long> InStep(const Row& row) const {
        try {
            const Long value = ParseLong(T(row[0]));
            if (T(row[0]) == FormatLong(value) && T(row[1]) == LongToHex(value) &&
                T(row[2]) == HexToBin(LongToHex(value))) {
                return value;
            }
        } catch (const ConversionError&) {
        }
        return std::nullopt;
    }

    // Out of step: the user is editing one of its typing boxes, or it shows the error; the row's
    // other boxes still show one value, or the binary box the error.
    void CheckOperandRow(std::size_t index, const std::string& focus) {
        const Row& row = kRows[index];
        const bool onDec = focus == row[0];
        if (inStep_[index] || (!onDec && focus != row[1])) {
            Expect("rows", inStep_[index].has_value(),
                   [&] { return row[0] + "'s row is out of step with the focus on " + focus; });
            return;
        }
        std::optional<Long> value;
        try {
            value = onDec ? ParseHexLong(T(row[1])) : ParseLong(T(row[0]));
        } catch (const ConversionError&) {
        }
        const std::u16string& other = T(row[onDec ? 1 : 0]);
        Expect("rows", value && other == (onDec ? LongToHex(*value) : FormatLong(*value)), [&] {
            return row[onDec ? 1 : 0] + " lost its value: " + Shown(row[onDec ? 1 : 0]);
        });
        Expect("rows",
               T(row[2]) == kRowError || (value && T(row[2]) == HexToBin(LongToHex(*value))),
               [&] { return row[2] + " holds " + Shown(row[2]); });
    }

    bool ResultShowsReport() const {
        return T("Text3Dec") == u"00" && T("Text3Bin") == kOverflowMessage &&
               std::ranges::find(kOperationNames, T("Text3Hex")) != kOperationNames.end();
    }

    // The user may put the focus in a display box, by a click, an assistive grab or Tab, since
    // they are tab stops; no move of the program's may, nor leave it on a disabled button.
    void CheckFocus(const Event& event, const std::string& before, const std::string& focus) {
        Expect("focus", !focus.empty(), [] { return "nothing has the focus"; });
        if (focus.empty()) {
            return;
        }
        const bool button = LayoutOf(focus).kind == forms::ControlKind::CommandButton;
        Expect("focus", !button || Enabled(focus), [&] { return focus + " has it disabled"; });
        const bool users = focus == before || (event.effects & kTabs) ||
                           ((event.effects & kPoints) && event.target == focus);
        Expect("focus", users || !IsDisplayBox(focus),
               [&] { return "the focus went from " + before + " to the display box " + focus; });
    }

    // An undo may bring back only a text the box has held since the program last wrote it: when
    // the focus left either typing box of its row and the binary box shows digits, not the error,
    // the program wrote the row's value into both.
    void CheckUndo(const Event& event, const std::string& before, const std::string& focus) {
        for (std::size_t row = 0; row < kOperandRows; ++row) {
            const Row& boxes = kRows[row];
            std::optional<Long> written;
            try {
                written = ParseLong(u"0b" + T(boxes[2]));
            } catch (const ConversionError&) {
            }
            const bool left = (before == boxes[0] || before == boxes[1]) && focus != before;
            for (std::size_t box = 0; box < 2; ++box) {
                std::unordered_set<std::size_t>& texts = held_[boxes[box]];
                const std::size_t text = Hash(boxes[box]);
                if (left && written) {
                    texts = {Hash(box == 0 ? FormatLong(*written) : LongToHex(*written))};
                }
                Expect("undo", !(event.effects & kUndoes) || texts.contains(text), [&] {
                    return "an undo brought \"" + Shown(boxes[box]) + "\" back into " + boxes[box];
                });
                texts.insert(text);
            }
        }
    }

    // Each about the result, or about the box the focus is in: its name, its text, its row's
    // error message.
    void CheckAnnouncements(const Event& event, const driver::Heard& heard,
                            const std::string& focus) {
        if (heard.announcements.empty()) {
            return;
        }
        std::string all;
        for (const std::string& said : heard.announcements) {
            all += " \"" + said.substr(0, kShown) + "\"";
        }
        Expect("announce", heard.announcements.size() <= static_cast<std::size_t>(event.actions),
               [&] { return "more announcements than actions:" + all; });
        const auto spoken = [&](const std::string& box) {
            return driver::Utf8(forms::SpokenText(T(box)));
        };
        std::vector<std::string> parts;
        for (const std::string& box : kRows[kOperandRows]) {
            parts.push_back(spoken(box));
        }
        for (const Row& row : kRows) {
            if (std::ranges::find(row, focus) != row.end()) {
                parts.insert(parts.end(), {spoken(focus), spoken(row[2])});
            }
        }
        parts.emplace_back(focus.empty() ? "" : LayoutOf(focus).accessibleName);
        for (const std::string& said : heard.announcements) {
            Expect("announce", SaidOf(said, parts),
                   [&] { return "with the focus on " + focus + ", announced" + all; });
        }
    }

    void Check(const Event& event, const std::string& before, int beepsBefore,
               Untrapped untrappedBefore) {
        const driver::Heard heard = driver::Listen();
        const std::string focus = Focus();
        ReadBoxes();
        const Untrapped untrapped = UntrappedFailures();
        const int failures = untrapped.all - untrappedBefore.all;
        const bool bitwise =
            (event.effects & kClicks) && IsBitwise(event.target.empty() ? before : event.target);
        Expect("traps",
               failures == untrapped.conversions - untrappedBefore.conversions &&
                   (failures == 0 || bitwise),
               [] { return "a failure reached the engine's boundary"; });
        for (std::size_t row = 0; row < kOperandRows; ++row) {
            CheckOperandRow(row, focus);
        }
        Expect("result", ResultShowsReport() || inStep_[kOperandRows], [&] {
            return "the result row holds " + Shown("Text3Dec") + ", " + Shown("Text3Hex") + ", " +
                   Shown("Text3Bin");
        });
        Expect("divide", Enabled("Divide") == (NumericValue(T("Text2Dec")) != 0.0),
               [&] { return "Divide does not follow Text2Dec, " + Shown("Text2Dec"); });
        CheckFocus(event, before, focus);
        Expect("focus", heard.focusMoves <= kMostFocusMovesPerAction * event.actions,
               [&] { return std::to_string(heard.focusMoves) + " focus moves"; });
        const int beeps = Beeps() - beepsBefore;
        const bool reported =
            T("Text1Bin") == kRowError || T("Text2Bin") == kRowError || ResultShowsReport();
        Expect("beeps", beeps <= kMostBeepsPerAction * event.actions && (beeps == 0 || reported),
               [&] { return std::to_string(beeps) + " beeps, with nothing to say why"; });
        CheckUndo(event, before, focus);
        CheckAnnouncements(event, heard, focus);
    }
};

TEST_F(Monkey, RandomSessionsKeepTheWindowConsistent) {
    const std::string seed = FromEnvironment("TSRL_MONKEY_SEED", "20261207");
    const int events = std::stoi(FromEnvironment("TSRL_MONKEY_EVENTS", "100000"));
    const bool hugePastes = FromEnvironment("TSRL_MONKEY_HUGE_PASTES", "0") != "0";
    const bool trace = FromEnvironment("TSRL_MONKEY_TRACE", "0") != "0";
    std::printf("monkey: seed %s\n", seed.c_str());  // for a replay of a run that crashes
    int i = 0;
    for (; i < events && !HasFailure(); ++i) {
        const Event event = hugePastes && i % kEventsPerHugePaste == kEventsPerHugePaste - 1
                                ? Event{kMoves[1].name, Paste(RandomText(kHugePaste))}
                                : RandomEvent();
        const std::string before = Focus();
        if (trace) {
            std::printf("%d: %s, with the focus on %s\n", i + 1, Described(event).c_str(),
                        before.c_str());
            std::fflush(stdout);
        }
        const int beepsBefore = Beeps();
        const Untrapped untrappedBefore = UntrappedFailures();
        Do(event.step);
        Check(event, before, beepsBefore, untrappedBefore);
        if (HasFailure()) {
            ADD_FAILURE() << "replay with TSRL_MONKEY_SEED=" << seed
                          << " TSRL_MONKEY_EVENTS=" << i + 1 << "; last event: " << Described(event)
                          << ", with the focus on " << before;
        }
    }
    std::printf("monkey: %d events, seed %s, %d beeps, %d failures at the boundary\n", i,
                seed.c_str(), Beeps(), UntrappedFailures().all);
}

}  // namespace
}  // namespace tsrl::testing
