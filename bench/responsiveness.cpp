// How long the calculator takes to answer one user action, through its real widgets on the
// offscreen platform: leaving an operand box (a valid text, a rejected one), clicking each
// operation (and an overflow), and pasting 1 MiB into a typing box and leaving it, beside the
// toolkit's floor for that paste: the same text laid out alone.
//
// Each sample times one action alone: the steps that bring the window into the state before it
// run untimed, and whatever Qt still had queued from them is handled first. Per sample:
// "handler", until the key or click has been delivered (every procedure it raises runs inside
// that delivery); "to idle", until the queued work it left (the deferred focus move, the repaint
// into the backing store) is done too; and "CPU", the thread's CPU time over "to idle", which a
// busy machine's preemptions do not inflate. After each sample the window is checked for the
// action's outcome, so a run that stopped doing the work would stop the program.
//
//   tsrl_responsiveness [--reps N] [--warmup N] [--paste-reps N] [--paste-kib N]
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextDocument>
#include <QTextLayout>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "application.h"
#include "form1.h"
#include "pasted_text.h"
#include "qt_native.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    int reps = 2000;
    int warmup = 50;
    int pasteReps = 3;
    int pasteKib = 1024;
};

Options Parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        int* target = arg == "--reps"         ? &options.reps
                      : arg == "--warmup"     ? &options.warmup
                      : arg == "--paste-reps" ? &options.pasteReps
                      : arg == "--paste-kib"  ? &options.pasteKib
                                              : nullptr;
        if (target == nullptr || i + 1 >= argc) {
            std::fprintf(stderr,
                         "usage: tsrl_responsiveness [--reps N] [--warmup N] [--paste-reps N] "
                         "[--paste-kib N]\n");
            std::exit(2);
        }
        *target = std::max(arg == "--paste-reps" ? 0 : 1, std::atoi(argv[++i]));
    }
    return options;
}

double Micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// Nearest rank: the smallest sample with at least q of all samples at or below it.
double Percentile(std::vector<double> samples, double q) {
    std::ranges::sort(samples);
    const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(samples.size())));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

struct Series {
    std::string action;
    std::vector<double> handler;
    std::vector<double> toIdle;
    std::vector<double> cpu;
};

double ThreadCpuMicros() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

[[noreturn]] void Broken(const std::string& action, const std::string& what) {
    std::fprintf(stderr, "tsrl_responsiveness: %s: %s\n", action.c_str(), what.c_str());
    std::exit(1);
}

class Driver {
  public:
    Driver() {
        form_.Window().Load();
        form_.Window().Show();
        if (!QTest::qWaitForWindowActive(tsrl::forms::WidgetOf(form_.Window()))) {
            Broken("start", "the window never became active");
        }
        Settle();
    }

    QWidget* Widget(const char* name) { return tsrl::forms::WidgetOf(*form_.Window().Find(name)); }

    QString Text(const char* box) {
        return QString::fromStdU16String(form_.Window().TextBoxNamed(box).Text());
    }
    std::string Focus() const {
        const QWidget* focus = QApplication::focusWidget();
        return focus != nullptr ? focus->objectName().toStdString() : std::string();
    }
    qsizetype Selected(const char* box) {
        tsrl::forms::TextBox& b = form_.Window().TextBoxNamed(box);
        return b.SelStart() == 0 ? b.SelLength() : -1;
    }
    void SetText(const char* box, const std::u16string& text) {
        form_.Window().TextBoxNamed(box).SetText(text);
    }

    // The user's steps, each sent where the user's input would go.
    static QWidget* Receiver() {
        QWidget* focus = QApplication::focusWidget();
        return focus != nullptr ? focus : QApplication::activeWindow();
    }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Receiver(), key, modifiers);
    }
    static void Type(const char* text) {
        for (const char* c = text; *c != '\0'; ++c) {
            QTest::keyClick(Receiver(), *c);
        }
    }
    void Click(const char* button) {
        QWidget* widget = Widget(button);
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    }
    static void Settle() { QApplication::processEvents(); }

    // Times one action; prepare and check run untimed around it.
    static void Sample(Series& series, bool keep, const std::function<void()>& prepare,
                       const std::function<void()>& act, const std::function<void()>& check) {
        prepare();
        Settle();
        const double cpuStart = ThreadCpuMicros();
        const Clock::time_point start = Clock::now();
        act();
        const Clock::time_point delivered = Clock::now();
        Settle();
        const Clock::time_point idle = Clock::now();
        const double cpuIdle = ThreadCpuMicros();
        check();
        if (keep) {
            series.handler.push_back(Micros(delivered - start));
            series.toIdle.push_back(Micros(idle - start));
            series.cpu.push_back(cpuIdle - cpuStart);
        }
    }

    // Puts a value into an operand row by typing it and leaving the box, as a user does.
    void Enter(const char* box, const char* value) {
        Widget(box)->setFocus(Qt::OtherFocusReason);
        Settle();
        Type(value);
        Key(Qt::Key_Tab);
        Settle();
        if (Text(box) != QString::fromLatin1(value)) {
            Broken("setup", std::string(box) + " did not take " + value);
        }
    }

  private:
    tsrl::Form1 form_;
};

void Expect(bool holds, const std::string& action, const char* what) {
    if (!holds) {
        Broken(action, what);
    }
}

// Leaving Text1Dec by Tab, with a text it accepts; two values in turn, so that every leave
// rewrites the row.
Series LeaveValid(Driver& d, const Options& o) {
    Series s{"leave Text1Dec, valid (Tab)", {}, {}, {}};
    const char* const values[] = {"12345", "54321"};
    const char* const hexes[] = {"00003039", "0000D431"};
    d.Enter("Text2Dec", "0");
    for (int i = 0; i < o.warmup + o.reps; ++i) {
        const int v = i % 2;
        Driver::Sample(
            s, i >= o.warmup,
            [&] {
                d.Widget("Text1Dec")->setFocus(Qt::OtherFocusReason);
                Driver::Settle();
                Driver::Type(values[v]);
            },
            [] { Driver::Key(Qt::Key_Tab); },
            [&] {
                Expect(d.Focus() == "Text2Dec", s.action, "the focus did not move on");
                Expect(d.Text("Text1Hex") == QLatin1String(hexes[v]), s.action,
                       "the row was not rewritten");
            });
    }
    return s;
}

// Leaving Text1Dec with a text it rejects: the error in the row, a beep, the focus sent back.
// A valid leave in between (untimed) clears the error, so that every sample writes it anew.
Series LeaveRejected(Driver& d, const Options& o) {
    Series s{"leave Text1Dec, rejected (Tab)", {}, {}, {}};
    const QString error = QStringLiteral("Error!  Input not a number or out of range!");
    for (int i = 0; i < o.warmup + o.reps; ++i) {
        Driver::Sample(
            s, i >= o.warmup,
            [&] {
                d.Enter("Text1Dec", "1");
                d.Widget("Text1Dec")->setFocus(Qt::OtherFocusReason);
                Driver::Settle();
                Driver::Type(i % 2 == 0 ? "12x45" : "99999999999");
            },
            [] { Driver::Key(Qt::Key_Tab); },
            [&] {
                Expect(d.Focus() == "Text1Dec", s.action, "the focus was not sent back");
                Expect(d.Text("Text1Bin") == error, s.action, "no error in the row");
            });
    }
    return s;
}

using Operation = long long (*)(long long, long long);

struct Button {
    const char* name;
    const char* label;
    Operation operation;
};

// Clicking an operation with the operands in place. The result is set back to 0 before each
// click (untimed), so that every click writes the whole result row.
Series ClickOperation(Driver& d, const Options& o, const Button& button, const char* a,
                      const char* b) {
    Series s{std::string("click ") + button.label, {}, {}, {}};
    d.Enter("Text1Dec", a);
    d.Enter("Text2Dec", b);
    const long long result = button.operation(std::atoll(a), std::atoll(b));
    const bool fits = result >= std::numeric_limits<std::int32_t>::min() &&
                      result <= std::numeric_limits<std::int32_t>::max();
    if (!fits) {
        s.action += " (overflow report)";
    }
    const QString expected =
        fits ? QString::number(result) : QStringLiteral("00");  // the overflow's decimal box
    for (int i = 0; i < o.warmup + o.reps; ++i) {
        Driver::Sample(
            s, i >= o.warmup, [&] { d.SetText("Text3Dec", u"7"); }, [&] { d.Click(button.name); },
            [&] {
                Expect(d.Text("Text3Dec") == expected, s.action, "wrong or no result");
                Expect(fits || d.Text("Text3Hex") == QLatin1String("Adding"), s.action,
                       "no overflow report");
            });
    }
    return s;
}

// A large paste into Text1Dec by Ctrl+V, then leaving the box: the text is rejected and the
// focus comes back with the whole text selected. Typing 0 over it and leaving again (untimed)
// sets the box back before the next paste. No warm-up: a paste this size is a one-off.
std::pair<Series, Series> PasteAndLeave(Driver& d, const Options& o, const QString& text,
                                        const std::string& what) {
    Series paste{"paste " + what + " (Ctrl+V)", {}, {}, {}};
    Series leave{"leave after paste " + what + " (Tab)", {}, {}, {}};
    QGuiApplication::clipboard()->setText(text);
    if (QGuiApplication::clipboard()->text() != text) {
        Broken(paste.action, "the clipboard does not hold the text");
    }
    // What the box takes of it: its line breaks made blanks.
    const QString pasted =
        QString::fromStdU16String(tsrl::forms::WithoutLineBreaks(text.toStdU16String()));
    for (int i = 0; i < o.pasteReps; ++i) {
        d.Enter("Text1Dec", "0");
        Driver::Sample(
            paste, true,
            [&] {
                d.Widget("Text1Dec")->setFocus(Qt::OtherFocusReason);
                Driver::Settle();
            },
            [] { Driver::Key(Qt::Key_V, Qt::ControlModifier); },
            [&] { Expect(d.Text("Text1Dec") == pasted, paste.action, "no paste"); });
        Driver::Sample(
            leave, true, [] {}, [] { Driver::Key(Qt::Key_Tab); },
            [&] {
                Expect(d.Focus() == "Text1Dec", leave.action, "the focus was not sent back");
                Expect(d.Text("Text1Bin").startsWith(QLatin1String("Error!")), leave.action,
                       "no error in the row");
                Expect(d.Text("Text1Dec") == pasted, leave.action, "the text was not kept");
                Expect(d.Selected("Text1Dec") == pasted.size(), leave.action,
                       "the text was not selected");
            });
    }
    return {paste, leave};
}

// The toolkit's floor for a paste: the same text laid out alone, in the box's font, options and
// line width, with nothing else of a box around it. A box that lays its whole text out cannot
// answer faster than this.
Series LayOutAlone(Driver& d, const Options& o, const QString& text, const std::string& what) {
    Series floor{"floor " + what + " (QTextLayout alone)", {}, {}, {}};
    const auto* box = qobject_cast<QPlainTextEdit*>(d.Widget("Text1Dec"));
    const QTextDocument& document = *box->document();
    const qreal width = box->viewport()->width() - 2 * document.documentMargin();
    for (int i = 0; i < o.pasteReps; ++i) {
        int lines = 0;
        Driver::Sample(
            floor, true, [] {},
            [&] {
                QTextLayout layout(text, document.defaultFont());
                layout.setTextOption(document.defaultTextOption());
                layout.beginLayout();
                for (QTextLine line = layout.createLine(); line.isValid();
                     line = layout.createLine()) {
                    line.setLineWidth(width);
                    ++lines;
                }
                layout.endLayout();
            },
            [&] { Expect(lines > 1, floor.action, "the text was not wrapped"); });
    }
    return floor;
}

void Print(const std::vector<Series>& all) {
    std::printf("%-44s %5s | %-21s | %-32s | %-21s\n", "", "", "handler (us)", "to idle (us)",
                "CPU (us)");
    std::printf("%-44s %5s | %10s %10s | %10s %10s %10s | %10s %10s\n", "action", "n", "median",
                "p99", "median", "p99", "max", "median", "p99");
    for (const Series& s : all) {
        std::printf("%-44s %5zu | %10.1f %10.1f | %10.1f %10.1f %10.1f | %10.1f %10.1f\n",
                    s.action.c_str(), s.handler.size(), Percentile(s.handler, 0.5),
                    Percentile(s.handler, 0.99), Percentile(s.toIdle, 0.5),
                    Percentile(s.toIdle, 0.99), Percentile(s.toIdle, 1.0), Percentile(s.cpu, 0.5),
                    Percentile(s.cpu, 0.99));
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Real widgets without a display; set before the application exists, or it is too late.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const Options options = Parse(argc, argv);
    tsrl::forms::Application application(argc, argv);
    Driver driver;

    std::vector<Series> all;
    all.push_back(LeaveValid(driver, options));
    all.push_back(LeaveRejected(driver, options));
    const Button buttons[] = {
        {"Command1", "And", [](long long a, long long b) { return a & b; }},
        {"Command2", "Or", [](long long a, long long b) { return a | b; }},
        {"Command3", "Xor", [](long long a, long long b) { return a ^ b; }},
        {"Not", "Not", [](long long a, long long) { return ~a; }},
        {"Plus", "+", [](long long a, long long b) { return a + b; }},
        {"Minus", "-", [](long long a, long long b) { return a - b; }},
        {"Multiply", "X", [](long long a, long long b) { return a * b; }},
        {"Divide", "\\", [](long long a, long long b) { return a / b; }},
    };
    for (const Button& button : buttons) {
        all.push_back(ClickOperation(driver, options, button, "12345", "678"));
    }
    all.push_back(ClickOperation(driver, options, buttons[4], "2147483647", "1"));

    // Digits only, so that the box's own key filter has nothing to say: on one line, and in
    // lines of 63 digits.
    const qsizetype size = qsizetype{options.pasteKib} * 1024;
    const QString digits = QStringLiteral("1234567890").repeated(size / 10 + 1);
    const QString oneLine = digits.left(size);
    const QString lines = (digits.left(63) + u'\n').repeated(size / 64);
    const std::string kib = std::to_string(options.pasteKib) + " KiB";
    std::vector<Series> pastes;
    if (options.pasteReps > 0) {
        for (const auto& [text, shape] : {std::pair{lines, ", lines"}, std::pair{oneLine, ""}}) {
            auto [paste, leave] = PasteAndLeave(driver, options, text, kib + shape);
            pastes.push_back(std::move(paste));
            pastes.push_back(std::move(leave));
            const QString held =
                QString::fromStdU16String(tsrl::forms::WithoutLineBreaks(text.toStdU16String()));
            pastes.push_back(LayOutAlone(driver, options, held, kib + shape));
        }
    }

    std::printf(
        "tsrl_responsiveness: Qt %s, platform %s, %d samples per action after %d warm-up, "
        "%d per paste\n\n",
        qVersion(), qPrintable(QGuiApplication::platformName()), options.reps, options.warmup,
        options.pasteReps);
    Print(all);
    if (!pastes.empty()) {
        std::printf("\n");
        Print(pastes);
    }
    return 0;
}
