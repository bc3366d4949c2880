// The engine's rules without a toolkit: native controls simulated as Win32 and Qt behave, the
// procedures a window would connect logging what ran.
#include "event_router.h"

#include <gtest/gtest.h>

#include "announcements.h"
#include "editing_rules.h"
#include "native_window.h"

#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace tsrl::forms {
namespace {

using Log = std::vector<std::string>;

constexpr ControlLayout Control(ControlKind kind, std::string_view name, int tabIndex,
                                Announce announce = Announce::Never) {
    return {kind,  name,  u"",         0,  0,  0,  0,  tabIndex, name,
            false, false, Align::Left, {}, {}, {}, {}, {},       announce};
}
constexpr ControlLayout kControls[] = {
    Control(ControlKind::Label, "L", 0),
    Control(ControlKind::TextBox, "B", 2, Announce::OnAlert),
    Control(ControlKind::TextBox, "A", 1, Announce::OnWrite),
    Control(ControlKind::CommandButton, "Off", 4),
    Control(ControlKind::CommandButton, "Go", 3),
};
constexpr WindowLayout kWindow{"W", u"", 0, 0, 0, 0, WindowIcon::Default, kControls};

// Native controls as the platforms behave: a focus move reports the old control's FocusOut
// before the new one's FocusIn, and a write notifies a change as a user edit would. What the
// rules never ask of a window is not there.
struct FakeNative final : NativeWindow {
    EventRouter* router = nullptr;
    Log* said = nullptr;
    std::optional<ControlId> focus;
    std::set<ControlId> disabled{3};
    std::map<ControlId, std::u16string> texts;
    std::map<ControlId, std::pair<int, int>> selections;
    std::set<ControlId> undoable;  // edited since the history last began
    bool posted = false;

    void Attach(EventRouter& /*router*/, EditingRules& /*editing*/) override {}
    NativeControl* Handle() const override { return nullptr; }
    NativeControl* Create(ControlId, const ControlLayout&, const PixelRect&) override {
        return nullptr;
    }
    void Lower(ControlId /*id*/) override {}
    void SetAccessibleText(std::optional<ControlId>, std::string_view, std::string_view) override {}
    double TextWidth(const Font&, std::u16string_view) const override { return 0; }
    double LineWidth(ControlId /*id*/) const override { return 0; }
    void SetFont(std::optional<ControlId>, const Font&) override {}
    int PixelsPerInch() const override { return kStandardPixelsPerInch; }
    PixelRect Screen() const override { return {}; }
    PixelRect WorkArea() const override { return {}; }
    PixelRect Frame() const override { return {}; }
    void MoveFrame(int /*left*/, int /*top*/) override {}
    void Show(std::optional<ControlId> /*focus*/) override {}
    int RunLoop() override { return 0; }
    bool Enabled(ControlId id) const override { return !disabled.contains(id); }
    void Beep() override {}
    int Length(ControlId id) const override { return static_cast<int>(Text(id).size()); }
    std::pair<int, int> Selection(ControlId id) const override {
        return selections.contains(id) ? selections.at(id) : std::pair(0, 0);
    }
    void ForgetUndo(ControlId id) override { undoable.erase(id); }

    bool CanTakeFocus(ControlId id) const override { return !disabled.contains(id); }
    bool HasFocus(ControlId id) const override { return focus == id; }
    void Focus(ControlId id) override {
        if (focus == id) {
            return;
        }
        if (const auto old = std::exchange(focus, id)) {
            router->FocusOut(*old);
        }
        router->FocusIn(id);
    }
    void FinishFocusChangeLater() override { posted = true; }
    void Type(ControlId id, char16_t key) override {
        if (router->Key(id, key) == KeyOutcome::Pass) {
            texts[id] += key;
        }
    }
    std::u16string Text(ControlId id) const override {
        return texts.contains(id) ? texts.at(id) : u"";
    }
    void ReplaceText(ControlId id, std::u16string_view text) override {
        texts[id] = text;
        router->UserEdit(id);
    }
    void Select(ControlId id, int start, int end) override { selections[id] = {start, end}; }
    void SetEnabled(ControlId id, bool enabled) override {
        if (enabled) {
            disabled.erase(id);
        } else {
            disabled.insert(id);
        }
    }
    bool CanAnnounce() const override { return true; }
    void Announce(std::u16string_view text) override {
        said->push_back("say " + std::string(text.begin(), text.end()));
    }
};

constexpr const char* kEventNames[] = {".Load",      ".Click",    ".GotFocus",
                                       ".LostFocus", ".KeyPress", ".Change"};

struct Case {
    const char* name;
    const char* steps;  // "verb control [argument]" separated by ';'
    Log expected;
};

class EventRouterTest : public ::testing::TestWithParam<Case> {};

TEST_P(EventRouterTest, RunsTheProceduresInOrder) {
    FakeNative native;
    EditingRules editing(kWindow, native);
    Announcements announcements(kWindow, native);
    EventRouter router(kWindow, native, editing, announcements);
    native.router = &router;
    Log log;
    native.said = &log;
    const ControlId a = *FindControl(kWindow, "A"), b = *FindControl(kWindow, "B"),
                    go = *FindControl(kWindow, "Go");
    for (const char* name : {"A", "B", "Go", "Off"}) {
        for (Event event : {Event::GotFocus, Event::LostFocus, Event::Click, Event::Change}) {
            const char* text = kEventNames[static_cast<int>(event)];
            router.Connect(name, event,
                           [&log, name, text] { log.push_back(name + std::string(text)); });
        }
    }
    // A rejects a text as an operand row does: an alert in B, and the focus sent back.
    router.Connect("A", Event::LostFocus, [&] {
        log.emplace_back("A.LostFocus");
        if (native.Text(a).starts_with(u"bad")) {
            router.SetText(b, u"no");
            announcements.Alerted();
            router.SetFocus(a);
        } else if (native.Text(a) == u"stop") {
            router.SetEnabled(go, false);
        }
    });
    router.Connect("B", Event::Change, [&] {
        log.emplace_back("B.Change");
        if (native.Text(b) == u"boom") {
            throw std::runtime_error("left the procedure");
        }
    });
    // A result in A, an alert in B when A held a bad text, and the focus sent to B.
    router.Connect("Off", Event::Click, [&] {
        log.emplace_back("Off.Click");
        const bool bad = native.Text(a) == u"bad";
        router.SetText(a, u"ok");
        router.SetText(b, u"no");
        if (bad) {
            announcements.Alerted();
        }
        router.SetFocus(b);
    });
    router.ConnectKeyPress("A", [&](std::int16_t& KeyAscii) {
        log.emplace_back("A.KeyPress");
        const std::map<std::int16_t, std::int16_t> replacements{{'x', 0}, {'a', 'b'}};
        if (KeyAscii == kEnterKey) {
            KeyAscii = 0;
            router.SetFocus(b);
        } else if (replacements.contains(KeyAscii)) {
            KeyAscii = replacements.at(KeyAscii);
        }
    });

    std::istringstream steps(GetParam().steps);
    for (std::string step; std::getline(steps, step, ';');) {
        std::istringstream words(step);
        std::string verb, control, argument;
        words >> verb >> control >> argument;
        if (verb == "post") {
            native.posted = false;
            router.FinishFocusChange();
            continue;
        }
        const std::optional<ControlId> found = FindControl(kWindow, control);
        ASSERT_TRUE(found) << "no control " << control << " in step: " << step;
        const ControlId id = *found;
        const std::u16string text(argument.begin(), argument.end());
        if (verb == "focus") {
            native.Focus(id);
        } else if (verb == "pointer") {
            const auto old = std::exchange(native.focus, id);
            router.FocusOut(*old);
            router.FocusIn(id, true);
        } else if (verb == "leave") {
            router.FocusOut(id, true);
        } else if (verb == "away") {  // another client takes the focus, with no window manager
            native.focus.reset();
            router.FocusOut(id, true);
        } else if (verb == "disable") {
            native.disabled.insert(id);
        } else if (verb == "enable") {
            native.disabled.erase(id);
        } else if (verb == "press") {
            constexpr const char* kOutcomes[] = {"pass", "clear", "hold"};
            const PressOutcome outcome =
                editing.Press(id, argument == "right" ? Button::Secondary : Button::Primary,
                              argument == "shift", {});
            log.push_back(control + " " + kOutcomes[static_cast<int>(outcome)]);
        } else if (verb == "paste" || verb == "drop") {
            const auto taken =
                editing.Insert(id, text, verb == "paste" ? Insertion::Paste : Insertion::Drop);
            log.push_back(control +
                          (!taken
                               ? " refuses"
                               : " takes " + std::string(taken->text.begin(), taken->text.end()) +
                                     (taken->atSelection ? "" : " at its point")));
        } else if (verb == "select") {
            native.Select(id, 0, native.Length(id));
        } else if (verb == "click") {
            router.Clicked(id);
        } else if (verb == "key") {
            native.Type(id, argument == "Enter" ? kEnterKey : text.front());
        } else if (verb == "tab") {
            router.Tab(id, argument == "back");
        } else if (verb == "write") {
            router.SetText(id, text);
        } else if (verb == "edit") {
            native.texts[id] = text;
            native.undoable.insert(id);
            router.UserEdit(id);
        } else if (verb == "read") {
            const std::u16string now = native.Text(id);
            log.push_back(control + "=" + std::string(now.begin(), now.end()) +
                          (native.focus == id ? " focused" : "") +
                          (native.undoable.contains(id) ? " undoable" : ""));
        } else {
            FAIL() << "unknown verb in step: " << step;
        }
    }
    EXPECT_EQ(log, GetParam().expected);
    EXPECT_FALSE(native.posted) << "a deferred focus move was left unfinished";
}

// clang-format off
const Case kCases[] = {
    {"LostFocusBeforeGotFocus", "focus A;focus B", {"A.GotFocus", "A.LostFocus", "B.GotFocus"}},
    {"FocusSentBackIsDeferredAndCancelsTheClick",
     "write A bad;focus A;focus Go;post;click Go;read A",
     {"A.Change", "A.GotFocus", "A.LostFocus", "B.Change", "say no, A, bad", "A.GotFocus",
      "A=bad focused"}},
    {"FocusedEnabledButtonClicks", "focus Go;click Go;key Go Enter",
     {"Go.GotFocus", "Go.Click", "Go.Click"}},
    {"DisabledButtonNeverClicks", "focus Go;disable Go;click Go;key Go Enter", {"Go.GotFocus"}},
    {"KeyAsciiDiscardsReplacesOrPasses", "focus A;key A x;key A a;key A q;read A",
     {"A.GotFocus", "A.KeyPress", "A.KeyPress", "A.KeyPress", "A=bq focused"}},
    {"EnterProcedureMovesTheFocus", "focus A;key A Enter;read B",
     {"A.GotFocus", "A.KeyPress", "A.LostFocus", "B.GotFocus", "B= focused"}},
    {"TabWrapsPassingOverDisabled", "focus Go;tab Go;tab A back",
     {"Go.GotFocus", "Go.LostFocus", "A.GotFocus", "A.LostFocus", "Go.GotFocus"}},
    {"ChangeOncePerWriteAndOnlyOnChange", "write B 5;write B 5;edit B 56",
     {"B.Change", "B.Change"}},
    {"NoExceptionLeavesAProcedure", "write B boom;write B 7;read B",
     {"B.Change", "B.Change", "B=7"}},
    {"PressIntoABoxWithoutTheFocusOnlyFocusesIt",
     "focus B;press A right;pointer A;press A;press A;press A shift;press Go",
     {"B.GotFocus", "A hold", "B.LostFocus", "A.GotFocus", "A hold", "A clear", "A pass",
      "Go pass"}},
    {"OnlyTheFocusedTypingBoxTakesAPasteOfText", "focus B;paste A 1;paste B 1;paste B;paste Go 1",
     {"B.GotFocus", "A refuses", "B takes 1", "B refuses", "Go refuses"}},
    // The program never moves the focus on to a control the user did not choose.
    {"DisablingTheControlTakingTheFocusGivesItBack",
     "enable Off;write A stop;focus A;focus Go;post;click Go;read A",
     {"A.Change", "A.GotFocus", "A.LostFocus", "A.GotFocus", "A=stop focused"}},
    {"FocusLeavingTheWindowIsNoLostFocus", "focus A;leave A;focus A", {"A.GotFocus"}},
    {"FirstPressAfterATabKeepsTheSelection", "focus B;tab B back;press A;press A",
     {"B.GotFocus", "B.LostFocus", "A.GotFocus", "A hold", "A clear"}},
    {"FirstPressAfterARejectionPlacesTheCaret", "write A bad;focus A;focus Go;post;press A",
     {"A.Change", "A.GotFocus", "A.LostFocus", "B.Change", "say no, A, bad", "A.GotFocus", "A clear"}},
    {"ADropReplacesOnlyAWholeSelection", "write A 0;focus A;drop A 42;select A;drop A 42;drop B 42",
     {"A.Change", "A.GotFocus", "A takes 42 at its point", "A takes 42", "B refuses"}},
    {"EveryWriteStartsTheUndoHistory", "edit B 5;read B;write B 5;read B;edit B 56;write B 7;read B",
     {"B.Change", "B=5 undoable", "B=5", "B.Change", "B.Change", "B=7"}},
    // Coming back to another control with no FocusOut for the one left, as without a window
    // manager, in either order of the click and the focus.
    {"FocusBackElsewhereRunsTheLostFocusFirst", "focus A;away A;focus B",
     {"A.GotFocus", "A.LostFocus", "B.GotFocus"}},
    {"FocusBackElsewhereSendsARejectionBack", "write A bad;focus A;away A;focus B;post;read A",
     {"A.Change", "A.GotFocus", "A.LostFocus", "B.Change", "say no, A, bad", "A.GotFocus",
      "A=bad focused"}},
    {"ClickBeforeItsFocusRunsTheLostFocusFirst", "focus A;away A;click Go;focus Go",
     {"A.GotFocus", "A.LostFocus", "Go.GotFocus", "Go.Click"}},
    {"ClickBeforeItsFocusIsCancelledByARejection", "write A bad;focus A;away A;click Go;post;read A",
     {"A.Change", "A.GotFocus", "A.LostFocus", "B.Change", "say no, A, bad", "A.GotFocus",
      "A=bad focused"}},
    {"AnnouncesWritesAndWhereTheFocusWent", "enable Off;focus Off;click Off",
     {"Off.GotFocus", "Off.Click", "A.Change", "B.Change", "Off.LostFocus", "B.GotFocus",
      "say ok, B, no"}},
    {"AnnouncesAnAlertBox", "write A bad;enable Off;focus Off;click Off",
     {"A.Change", "Off.GotFocus", "Off.Click", "A.Change", "B.Change", "Off.LostFocus",
      "B.GotFocus", "say ok, no, B, no"}},
    {"CountsALongerRejectedText",
     "write A bad12345678901234567890123456789012345678901234567890123456789012;"
     "focus A;focus Go;post",
     {"A.Change", "A.GotFocus", "A.LostFocus", "B.Change", "say no, A, 65 characters",
      "A.GotFocus"}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rules, EventRouterTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace tsrl::forms
