// The engine's event guarantees on a test-only window (probe_form.h): Change inside the write
// that caused it, LostFocus before the next GotFocus or Click, a SetFocus from LostFocus
// deferred, KeyAscii, buttons answering Space and Enter, labels that do nothing, and the
// boundary that swallows every exception.
#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <tuple>
#include <typeindex>
#include <typeinfo>
#include <utility>
#include <vector>

#include "printers.h"
#include "probe_form.h"
#include "swallowed.h"

namespace tsrl::testing {
namespace {

using forms::Event;
using Events = std::vector<std::string>;

// One user or program action, as data, so that cases can be tables.
struct Action {
    enum Kind { kClick, kKey, kType, kFocus, kLoad };
    Kind kind = kLoad;
    std::string control;
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QString text;
};

Action ClickAction(std::string control) {
    Action a;
    a.kind = Action::kClick;
    a.control = std::move(control);
    return a;
}
Action KeyAction(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Action a;
    a.kind = Action::kKey;
    a.key = key;
    a.modifiers = modifiers;
    return a;
}
Action TypeAction(QString text) {
    Action a;
    a.kind = Action::kType;
    a.text = std::move(text);
    return a;
}
Action FocusAction(std::string control) {
    Action a;
    a.kind = Action::kFocus;
    a.control = std::move(control);
    return a;
}
Action LoadAction() {
    return Action{};
}

class EngineTest : public ProbeTest {
  protected:
    void Do(const Action& action) {
        switch (action.kind) {
            case Action::kClick:
                ClickOn(action.control);
                break;
            case Action::kKey:
                Press(action.key, action.modifiers);
                break;
            case Action::kType:
                TypeText(action.text);
                break;
            case Action::kFocus:
                FocusOn(action.control);
                break;
            case Action::kLoad:
                Probe().Load();
                QApplication::processEvents();
                break;
        }
    }
    void Do(const std::vector<Action>& actions) {
        for (const Action& action : actions) {
            Do(action);
        }
    }
};

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.label;
}

// ---------------------------------------------------------------------------------------------
// Change

struct BoxCase {
    std::string label;
    const char* box;
};

const BoxCase kAllBoxes[] = {
    {"SingleLine", "Line"},
    {"MultiLine", "Multi"},
    {"LockedSingleLine", "LockedLine"},
    {"LockedMultiLine", "LockedMulti"},
};

class EngineChange : public EngineTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(EngineChange, ProgramWriteRaisesChangeBeforeItReturnsAndOnlyWhenTheTextChanges) {
    const char* box = GetParam().box;
    int changes = 0;
    QString seenInside;
    Probe().Connect(box, Event::Change, [&] {
        ++changes;
        seenInside = Text(box);
    });

    Box(box).SetText(u"12");
    EXPECT_EQ(changes, 1) << "Change must have run when SetText returns";
    EXPECT_EQ(seenInside, "12") << "inside Change, the box already holds the new text";

    Box(box).SetText(u"12");
    EXPECT_EQ(changes, 1) << "writing an equal text raises no Change";

    Box(box).SetText(u"123");
    EXPECT_EQ(changes, 2);
    Box(box).SetText(u"");
    EXPECT_EQ(changes, 3);
    Box(box).SetText(u"");
    EXPECT_EQ(changes, 3);

    QApplication::processEvents();
    EXPECT_EQ(changes, 3) << "no Change may arrive later from the event queue";
}

TEST_P(EngineChange, ProgramWriteRaisesNoOtherEvent) {
    Box(GetParam().box).SetText(u"abc");
    QApplication::processEvents();
    EXPECT_EQ(TakeLog(), Events{std::string(GetParam().box) + ".Change"});
}

INSTANTIATE_TEST_SUITE_P(Boxes, EngineChange, ::testing::ValuesIn(kAllBoxes), CaseName<BoxCase>);

TEST_F(EngineTest, ChangeCausedInsideChangeRunsWithinTheOuterWrite) {
    Probe().Connect("Line", Event::Change, [this] {
        Log("Line.Change:begin");
        Box("Multi").SetText((Text("Line") + u'!').toStdU16String());
        Log("Line.Change:end");
    });
    Box("Line").SetText(u"go");
    EXPECT_EQ(TakeLog(), (Events{"Line.Change:begin", "Multi.Change", "Line.Change:end"}));
    EXPECT_EQ(Text("Multi"), "go!");
}

struct EditCase {
    std::string label;
    const char* box;
};

class EngineUserEdit : public EngineTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EngineUserEdit, EachTypedCharacterRaisesOneChangeAfterItsKeyPress) {
    const std::string box = GetParam().box;
    FocusOn(box);
    TakeLog();
    TypeText("ab");
    EXPECT_EQ(TakeLog(), (Events{box + ".KeyPress(a)", box + ".Change", box + ".KeyPress(b)",
                                 box + ".Change"}));
    Press(Qt::Key_Backspace);
    EXPECT_EQ(TakeLog(), (Events{box + ".KeyPress(#8)", box + ".Change"}));
    EXPECT_EQ(Text(box), "a");
}

INSTANTIATE_TEST_SUITE_P(TypingBoxes, EngineUserEdit,
                         ::testing::Values(EditCase{"SingleLine", "Line"},
                                           EditCase{"MultiLine", "Multi"}),
                         CaseName<EditCase>);

TEST_F(EngineTest, KeysInALockedBoxRaiseKeyPressButNeverChange) {
    for (const char* box : {"LockedLine", "LockedMulti"}) {
        SCOPED_TRACE(box);
        Box(box).SetText(u"kept");
        FocusOn(box);
        TakeLog();
        TypeText("a");
        Press(Qt::Key_Backspace);
        EXPECT_EQ(TakeLog(),
                  (Events{std::string(box) + ".KeyPress(a)", std::string(box) + ".KeyPress(#8)"}));
        EXPECT_EQ(Text(box), "kept");
    }
}

// ---------------------------------------------------------------------------------------------
// Focus: LostFocus before the next GotFocus or Click.

struct FocusCase {
    std::string label;
    std::vector<Action> setup;  // its events are not part of the expectation
    std::vector<Action> actions;
    Events expected;
    std::string focusAfter;
};

const FocusCase kFocusCases[] = {
    {"TabFromBoxToBox",
     {},
     {KeyAction(Qt::Key_Tab)},
     {"Line.LostFocus", "Multi.GotFocus"},
     "Multi"},
    {"ShiftTabFromBoxToBox",
     {FocusAction("Multi")},
     {KeyAction(Qt::Key_Backtab, Qt::ShiftModifier)},
     {"Multi.LostFocus", "Line.GotFocus"},
     "Line"},
    {"ClickOnABoxFromABox",
     {},
     {ClickAction("Multi")},
     {"Line.LostFocus", "Multi.GotFocus"},
     "Multi"},
    {"ClickOnAButtonFromABox",
     {},
     {ClickAction("Button")},
     {"Line.LostFocus", "Button.GotFocus", "Button.Click"},
     "Button"},
    {"ClickOnAButtonFromAnotherButton",
     {FocusAction("Button")},
     {ClickAction("Other")},
     {"Button.LostFocus", "Other.GotFocus", "Other.Click"},
     "Other"},
    {"ClickOnTheFocusedButton",
     {FocusAction("Button")},
     {ClickAction("Button")},
     {"Button.Click"},
     "Button"},
    {"TabFromAButton",
     {FocusAction("Button")},
     {KeyAction(Qt::Key_Tab)},
     {"Button.LostFocus", "Other.GotFocus"},
     "Other"},
    {"SetFocusFromTheProgram",
     {},
     {FocusAction("Multi")},
     {"Line.LostFocus", "Multi.GotFocus"},
     "Multi"},
    {"SetFocusOnTheFocusedControl", {}, {FocusAction("Line")}, {}, "Line"},
};

class EngineFocusMoves : public EngineTest, public ::testing::WithParamInterface<FocusCase> {};

TEST_P(EngineFocusMoves, LostFocusRunsBeforeTheNextGotFocusOrClick) {
    Do(GetParam().setup);
    TakeLog();
    Do(GetParam().actions);
    EXPECT_EQ(TakeLog(), GetParam().expected);
    EXPECT_EQ(Focus(), GetParam().focusAfter);
    EXPECT_EQ(EngineFocus(), GetParam().focusAfter);
}

INSTANTIATE_TEST_SUITE_P(Moves, EngineFocusMoves, ::testing::ValuesIn(kFocusCases),
                         CaseName<FocusCase>);

// A LostFocus that sends the focus back: the move the user started ends where the procedure
// asked, that control's GotFocus runs after LostFocus has returned, and a button whose press
// started the move does not click.
struct RedirectCase {
    std::string label;
    Action leave;
    const char* target;  // where the LostFocus of Line sends the focus
    Events expected;
};

const RedirectCase kRedirectCases[] = {
    {"BackAfterTab",
     KeyAction(Qt::Key_Tab),
     "Line",
     {"Line.LostFocus:begin", "Line.LostFocus:end", "Line.GotFocus"}},
    {"BackAfterShiftTab",
     KeyAction(Qt::Key_Backtab, Qt::ShiftModifier),
     "Line",
     {"Line.LostFocus:begin", "Line.LostFocus:end", "Line.GotFocus"}},
    {"BackAfterClickOnABox",
     ClickAction("Multi"),
     "Line",
     {"Line.LostFocus:begin", "Line.LostFocus:end", "Line.GotFocus"}},
    {"BackAfterClickOnAButton",
     ClickAction("Button"),
     "Line",
     {"Line.LostFocus:begin", "Line.LostFocus:end", "Line.GotFocus"}},
    {"ElsewhereAfterClickOnAButton",
     ClickAction("Button"),
     "Other",
     {"Line.LostFocus:begin", "Line.LostFocus:end", "Other.GotFocus"}},
    {"ElsewhereAfterTab",
     KeyAction(Qt::Key_Tab),
     "LockedMulti",
     {"Line.LostFocus:begin", "Line.LostFocus:end", "LockedMulti.GotFocus"}},
};

class EngineRedirect : public EngineTest, public ::testing::WithParamInterface<RedirectCase> {};

TEST_P(EngineRedirect, SetFocusDuringLostFocusIsDeferredAndANoLongerFocusedButtonDoesNotClick) {
    const char* target = GetParam().target;
    Probe().Connect("Line", Event::LostFocus, [this, target] {
        Log("Line.LostFocus:begin");
        Probe().Find(target)->SetFocus();
        Log("Line.LostFocus:end");
    });
    Do(GetParam().leave);
    EXPECT_EQ(TakeLog(), GetParam().expected);
    EXPECT_EQ(Focus(), target);
    EXPECT_EQ(EngineFocus(), target);
}

INSTANTIATE_TEST_SUITE_P(Redirects, EngineRedirect, ::testing::ValuesIn(kRedirectCases),
                         CaseName<RedirectCase>);

// ---------------------------------------------------------------------------------------------
// Buttons and labels

struct ButtonKeyCase {
    std::string label;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

class EngineButtonKey : public EngineTest, public ::testing::WithParamInterface<ButtonKeyCase> {};

TEST_P(EngineButtonKey, AFocusedButtonAnswersWithOneClick) {
    FocusOn("Button");
    TakeLog();
    Press(GetParam().key, GetParam().modifiers);
    EXPECT_EQ(TakeLog(), Events{"Button.Click"});
    EXPECT_EQ(Focus(), "Button");
}

INSTANTIATE_TEST_SUITE_P(Keys, EngineButtonKey,
                         ::testing::Values(ButtonKeyCase{"Space", Qt::Key_Space, Qt::NoModifier},
                                           ButtonKeyCase{"Return", Qt::Key_Return, Qt::NoModifier},
                                           ButtonKeyCase{"KeypadEnter", Qt::Key_Enter,
                                                         Qt::KeypadModifier}),
                         CaseName<ButtonKeyCase>);

TEST_F(EngineTest, ClickingALabelRunsNothingAndKeepsTheFocus) {
    for (const char* focused : {"Line", "Multi", "Button"}) {
        SCOPED_TRACE(focused);
        FocusOn(focused);
        TakeLog();
        ClickOn("Caption");
        EXPECT_EQ(TakeLog(), Events{}) << "not even the focused control's LostFocus";
        EXPECT_EQ(Focus(), focused);
        EXPECT_EQ(EngineFocus(), focused);
    }
}

// ---------------------------------------------------------------------------------------------
// KeyAscii

class EngineKeyAscii : public EngineTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EngineKeyAscii, ZeroDiscardsTheKeyAndAnotherValueReplacesTheCharacter) {
    const std::string box = GetParam().box;
    // "x" is discarded, "!" becomes U+00E9, lower-case letters become capitals.
    Probe().ConnectKeyPress(GetParam().box, [this, box](std::int16_t& KeyAscii) {
        Log(KeyEntry(box, KeyAscii));
        if (KeyAscii == 'x') {
            KeyAscii = 0;
        } else if (KeyAscii == '!') {
            KeyAscii = 0xE9;
        } else if (KeyAscii >= 'a' && KeyAscii <= 'z') {
            KeyAscii = static_cast<std::int16_t>(KeyAscii - 'a' + 'A');
        }
    });
    FocusOn(box);
    TakeLog();
    TypeText("axb!c1");
    EXPECT_EQ(Text(box), QString::fromUtf16(u"AB\u00E9C1"));
    // The procedure sees every key, and a discarded key changes nothing, so raises no Change.
    EXPECT_EQ(TakeLog(), (Events{box + ".KeyPress(a)", box + ".Change", box + ".KeyPress(x)",
                                 box + ".KeyPress(b)", box + ".Change", box + ".KeyPress(!)",
                                 box + ".Change", box + ".KeyPress(c)", box + ".Change",
                                 box + ".KeyPress(1)", box + ".Change"}));
}

TEST_P(EngineKeyAscii, ZeroForEnterKeepsTheBoxOnOneLine) {
    const char* box = GetParam().box;
    Probe().ConnectKeyPress(box, [](std::int16_t& KeyAscii) {
        if (KeyAscii == 13) {
            KeyAscii = 0;
        }
    });
    FocusOn(box);
    TypeText("12");
    Press(Qt::Key_Return);
    Press(Qt::Key_Enter, Qt::KeypadModifier);
    Press(Qt::Key_Return, Qt::ShiftModifier);
    TypeText("3");
    EXPECT_EQ(Text(box), "123");
}

TEST_P(EngineKeyAscii, AnUnchangedKeyAsciiLetsTheKeyDoItsWork) {
    const std::string box = GetParam().box;
    FocusOn(box);
    TypeText("abc");
    Press(Qt::Key_Backspace);
    Press(Qt::Key_Home);
    Press(Qt::Key_Delete);
    EXPECT_EQ(Text(box), "b");
}

INSTANTIATE_TEST_SUITE_P(TypingBoxes, EngineKeyAscii,
                         ::testing::Values(EditCase{"SingleLine", "Line"},
                                           EditCase{"MultiLine", "Multi"}),
                         CaseName<EditCase>);

// Tab and Shift+Tab move the focus: navigation, not a character typed into the box, so they
// raise no KeyPress, and a KeyPress that discards every key but digits cannot trap the user.

TEST_F(EngineTest, TabKeysThatMoveTheFocusAreNotKeyPresses) {
    std::vector<int> codes;
    for (const char* box : {"Line", "Multi"}) {
        Probe().ConnectKeyPress(box,
                                [&codes](std::int16_t& KeyAscii) { codes.push_back(KeyAscii); });
    }
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focus(), "Multi");
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focus(), "Line");
    EXPECT_EQ(codes, std::vector<int>{});
}

TEST_F(EngineTest, ADigitsOnlyKeyPressDoesNotKeepTabFromMovingTheFocus) {
    Probe().ConnectKeyPress("Line", [](std::int16_t& KeyAscii) {
        if (KeyAscii != 8 && (KeyAscii < '0' || KeyAscii > '9')) {
            KeyAscii = 0;
        }
    });
    TypeText("1a2");
    ASSERT_EQ(Text("Line"), "12");
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focus(), "Multi");
}

// ---------------------------------------------------------------------------------------------
// The boundary: an exception thrown from a procedure does not end the program, and the next
// events still run. Each case's procedure writes its log entry and then throws, so the log is
// the same as if nothing had been thrown.

enum class Thrown { kStdException, kInt, kNonStdClass };

struct NotAnException {
    int code;
};

[[noreturn]] void Throw(Thrown kind) {
    switch (kind) {
        case Thrown::kStdException:
            throw std::runtime_error("thrown by a procedure");
        case Thrown::kInt:
            throw 42;
        case Thrown::kNonStdClass:
            throw NotAnException{7};
    }
    throw 0;
}

struct ThrowCase {
    std::string label;
    const char* control;
    Event event;
    std::vector<Action> actions;
    Events expected;
    const char* box = nullptr;  // and its text afterwards
    const char* text = nullptr;
};

const ThrowCase kThrowCases[] = {
    {"Load", "Probe", Event::Load, {LoadAction(), LoadAction()}, {"Probe.Load", "Probe.Load"}},
    {"Click",
     "Button",
     Event::Click,
     {ClickAction("Button"), ClickAction("Button"), KeyAction(Qt::Key_Space)},
     {"Line.LostFocus", "Button.GotFocus", "Button.Click", "Button.Click", "Button.Click"}},
    {"GotFocus",
     "Multi",
     Event::GotFocus,
     {KeyAction(Qt::Key_Tab), TypeAction("a"), KeyAction(Qt::Key_Tab)},
     {"Line.LostFocus", "Multi.GotFocus", "Multi.KeyPress(a)", "Multi.Change", "Multi.LostFocus",
      "Button.GotFocus"},
     "Multi",
     "a"},
    {"LostFocus",
     "Line",
     Event::LostFocus,
     {KeyAction(Qt::Key_Tab), KeyAction(Qt::Key_Backtab, Qt::ShiftModifier), ClickAction("Button")},
     {"Line.LostFocus", "Multi.GotFocus", "Multi.LostFocus", "Line.GotFocus", "Line.LostFocus",
      "Button.GotFocus", "Button.Click"}},
    {"KeyPress",
     "Line",
     Event::KeyPress,
     {TypeAction("ab"), KeyAction(Qt::Key_Tab)},
     // After two throwing key presses, Tab still moves the focus.
     {"Line.KeyPress(a)", "Line.Change", "Line.KeyPress(b)", "Line.Change", "Line.LostFocus",
      "Multi.GotFocus"},
     "Line",
     "ab"},
    {"ChangeFromTyping",
     "Multi",
     Event::Change,
     {FocusAction("Multi"), TypeAction("ab")},
     {"Line.LostFocus", "Multi.GotFocus", "Multi.KeyPress(a)", "Multi.Change", "Multi.KeyPress(b)",
      "Multi.Change"},
     "Multi",
     "ab"},
};

class BoundaryTest : public EngineTest {
  protected:
    void Arm(const ThrowCase& c, Thrown kind) {
        const std::string control = c.control;
        if (c.event == Event::KeyPress) {
            Probe().ConnectKeyPress(c.control, [this, control, kind](std::int16_t& KeyAscii) {
                Log(KeyEntry(control, KeyAscii));
                Throw(kind);
            });
            return;
        }
        const std::string entry = control + "." + EventName(c.event);
        Probe().Connect(c.control, c.event, [this, entry, kind] {
            Log(entry);
            Throw(kind);
        });
    }

    static std::string EventName(Event event) {
        switch (event) {
            case Event::Load:
                return "Load";
            case Event::Click:
                return "Click";
            case Event::GotFocus:
                return "GotFocus";
            case Event::LostFocus:
                return "LostFocus";
            case Event::KeyPress:
                return "KeyPress";
            case Event::Change:
                return "Change";
        }
        return "?";
    }
};

class EngineBoundary : public BoundaryTest,
                       public ::testing::WithParamInterface<std::tuple<ThrowCase, Thrown>> {};

// What is not a standard exception is counted as of no type the engine can name.
const std::type_index kThrownTypes[] = {typeid(std::runtime_error), typeid(void), typeid(void)};

TEST_P(EngineBoundary, AThrowingProcedureDoesNotEndTheProgramAndLaterEventsRun) {
    const auto& [c, kind] = GetParam();
    const int ofKindBefore = SwallowedCount(kThrownTypes[static_cast<int>(kind)]);
    const int allBefore = SwallowedCount();
    Arm(c, kind);
    Do(c.actions);
    EXPECT_EQ(TakeLog(), c.expected);
    if (c.box != nullptr) {
        EXPECT_EQ(Text(c.box), c.text);
    }
    // Every throw is counted once, by its type.
    const std::string armed = std::string(c.control) + "." + EventName(c.event);
    const auto throws = std::ranges::count_if(
        c.expected, [&armed](const std::string& entry) { return entry.starts_with(armed); });
    EXPECT_EQ(SwallowedCount(kThrownTypes[static_cast<int>(kind)]) - ofKindBefore, throws);
    EXPECT_EQ(SwallowedCount() - allBefore, throws);
}

const char* const kThrownNames[] = {"StdException", "Int", "NonStdClass"};

class EngineBoundaryWrite : public BoundaryTest, public ::testing::WithParamInterface<Thrown> {};

TEST_P(EngineBoundaryWrite, AThrowingChangeLetsTheProgramWriteFinishAndReturn) {
    Arm(ThrowCase{"", "Line", Event::Change, {}, {}}, GetParam());
    Box("Line").SetText(u"1");  // must return normally
    Box("Line").SetText(u"2");
    EXPECT_EQ(Text("Line"), "2");
    EXPECT_EQ(TakeLog(), (Events{"Line.Change", "Line.Change"}));
}

INSTANTIATE_TEST_SUITE_P(Exceptions, EngineBoundaryWrite,
                         ::testing::Values(Thrown::kStdException, Thrown::kInt,
                                           Thrown::kNonStdClass),
                         [](const ::testing::TestParamInfo<Thrown>& p) {
                             return std::string(kThrownNames[static_cast<int>(p.param)]);
                         });

INSTANTIATE_TEST_SUITE_P(Procedures, EngineBoundary,
                         ::testing::Combine(::testing::ValuesIn(kThrowCases),
                                            ::testing::Values(Thrown::kStdException, Thrown::kInt,
                                                              Thrown::kNonStdClass)),
                         [](const ::testing::TestParamInfo<std::tuple<ThrowCase, Thrown>>& p) {
                             return std::get<ThrowCase>(p.param).label + "_" +
                                    kThrownNames[static_cast<int>(std::get<Thrown>(p.param))];
                         });

}  // namespace
}  // namespace tsrl::testing
