#include "form.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextCursor>
#include <QWidget>
#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "accessibility.h"
#include "boundary.h"
#include "box_edit.h"
#include "frame_extents.h"
#include "qt_text.h"
#include "services.h"

namespace tsrl::forms {
namespace {

constexpr qreal kDocumentMargin = 2.0;  // keeps the widest texts on one line in the narrow boxes
constexpr char16_t kEnter = 13;

int ToPixels(Twips twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
int ToPixels(float twips) {
    return qRound(twips / static_cast<float>(kTwipsPerPixel));
}
float ToTwips(int pixels) {
    return static_cast<float>(pixels * kTwipsPerPixel);
}

QRect ToPixelRect(const ControlLayout& c) {
    return {ToPixels(c.left), ToPixels(c.top), ToPixels(c.width), ToPixels(c.height)};
}

Qt::Alignment ToQt(Align align) {
    switch (align) {
        case Align::Center:
            return Qt::AlignHCenter;
        case Align::Right:
            return Qt::AlignRight;
        case Align::Left:
            break;
    }
    return Qt::AlignLeft;
}

void ApplyColours(QWidget& widget, const ControlLayout& c) {
    QPalette palette = widget.palette();
    if (c.background) {
        palette.setColor(QPalette::Base,
                         QColor(c.background->red, c.background->green, c.background->blue));
    }
    if (c.foreground) {
        palette.setColor(QPalette::Text,
                         QColor(c.foreground->red, c.foreground->green, c.foreground->blue));
    }
    // As native edit boxes do, only the box with the focus shows its selection.
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Text));
    widget.setPalette(palette);
}

QWidget* CreateTextBox(const ControlLayout& c, QWidget* parent) {
    if (!c.multiLine) {
        auto* edit = new QLineEdit(ToQString(c.text), parent);
        edit->setAlignment(ToQt(c.align) | Qt::AlignVCenter);
        edit->setReadOnly(c.locked);
        return edit;
    }
    auto* edit = new BoxEdit(parent);
    edit->setTabChangesFocus(true);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setContextMenuPolicy(Qt::DefaultContextMenu);
    QTextDocument* document = edit->document();
    document->setDocumentMargin(kDocumentMargin);
    QTextOption option = document->defaultTextOption();
    option.setAlignment(ToQt(c.align));
    // Anywhere, not at word boundaries: the box is narrower than a word, and a search for
    // boundaries makes a long pasted line cost quadratic time.
    option.setWrapMode(QTextOption::WrapAnywhere);
    document->setDefaultTextOption(option);
    edit->setPlainText(ToQString(c.text));
    edit->setReadOnly(c.locked);
    if (c.locked) {
        edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    return edit;
}

QWidget* CreateWidget(const ControlLayout& c, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (c.kind) {
        case ControlKind::TextBox:
            widget = CreateTextBox(c, parent);
            widget->setFocusPolicy(Qt::StrongFocus);
            ApplyColours(*widget, c);
            break;
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(ToQString(c.text), parent);
            button->setAutoDefault(false);
            button->setFocusPolicy(Qt::StrongFocus);
            widget = button;
            break;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(ToQString(c.text), parent);
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            label->setTextFormat(Qt::PlainText);
            label->setFocusPolicy(Qt::NoFocus);
            widget = label;
            break;
        }
    }
    if (c.font) {
        QFont font(ToQString(c.font->family));
        font.setPointSizeF(c.font->points);
        font.setBold(c.font->bold);
        widget->setFont(font);
    }
    widget->setObjectName(ToQString(c.name));
    widget->setAccessibleName(ToQString(c.accessibleName));
    widget->setAccessibleDescription(ToQString(c.description));
    widget->setGeometry(ToPixelRect(c));
    return widget;
}

constexpr double kFontStepPoints = 0.25;
constexpr double kSmallestFontPoints = 5.0;
constexpr int kLineEditMargin = 2;  // inside its contents rectangle, on each side

// Whether a text fits a box on one line in a font: the width a multi-line box lays a line out
// in, or the width a single-line box shows without scrolling (one pixel kept for the caret).
bool FitsOnOneLine(const QWidget& box, const QFont& font, const QString& text) {
    const qreal advance = QFontMetricsF(font).horizontalAdvance(text);
    if (qobject_cast<const QPlainTextEdit*>(&box) != nullptr) {
        return advance <= box.contentsRect().width() - 2 * kDocumentMargin;
    }
    QStyleOptionFrame panel;
    panel.initFrom(&box);
    panel.rect = box.contentsRect();
    panel.lineWidth = box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, &box);
    panel.state |= QStyle::State_Sunken;
    const QRect contents = box.style()->subElementRect(QStyle::SE_LineEditContents, &panel, &box);
    return qRound(advance) + 1 <= contents.width() - 2 * kLineEditMargin;
}

// The window's font, in the face fontconfig resolves, stepped down until every box's widest
// text fits: a face wider than the one the layout was drawn for must not cut digits off.
void FitFont(QWidget& window, const std::vector<std::pair<QWidget*, QString>>& widest) {
    QFont font = window.font();
    const auto fits = [&font](const auto& entry) {
        return FitsOnOneLine(*entry.first, font, entry.second);
    };
    while (font.pointSizeF() - kFontStepPoints >= kSmallestFontPoints &&
           !std::ranges::all_of(widest, fits)) {
        font.setPointSizeF(font.pointSizeF() - kFontStepPoints);
    }
    if (font != window.font()) {
        window.setFont(font);
    }
}

}  // namespace

struct Form::Router : QObject {
    explicit Router(const WindowLayout& description) : layout(description) {}

    const WindowLayout& layout;
    std::unique_ptr<QWidget> window;
    std::vector<std::unique_ptr<Control>> controls;
    std::map<QObject*, Control*> byWidget;
    std::map<std::pair<std::string_view, Event>, Procedure> procedures;
    std::map<std::string_view, KeyProcedure> keyProcedures;

    Announcer* announcer = nullptr;  // a child of the window
    int depth = 0;                   // procedures running, one inside another
    int changeDepth = 0;             // of them, Change procedures
    // Boxes the procedures of a user's event wrote themselves (not through a Change), and the
    // alerts before them; empty while no event from the user is being handled.
    std::optional<int> beepsBefore;
    std::vector<const TextBox*> written;
    Control* focusSent = nullptr;

    Control* focused = nullptr;  // GotFocus ran, LostFocus not yet
    Control* pendingFocus = nullptr;
    Control* clickFocused = nullptr;  // a press just gave it the focus; the press is not yet seen
    // A press that only gave a typing box the focus, held back in case a drag follows it.
    struct HeldPress {
        Control* box;
        QPointF at;
        Qt::MouseButton button;
        bool replayed;  // a drag followed, and the press was let through to start it
    };
    std::optional<HeldPress> held;
    bool replayingPress = false;
    std::optional<QMargins> frame;  // asked of the window manager once, before the first show
    int lostFocusDepth = 0;
    bool replayingKey = false;
    bool closing = false;

    void Raise(std::string_view name, Event event) {
        if (closing) {
            return;
        }
        auto it = procedures.find({name, event});
        if (it == procedures.end()) {
            return;
        }
        const bool outermost = depth == 0 && event != Event::Load;
        if (outermost) {
            beepsBefore = BeepCount();
            written.clear();
            focusSent = nullptr;
        }
        const int changes = event == Event::Change ? 1 : 0;
        depth += 1;
        changeDepth += changes;
        Guarded(it->second);
        changeDepth -= changes;
        depth -= 1;
        if (outermost) {
            AnnounceWrites();
        }
    }

    void NoteWrite(const TextBox& box) {
        if (beepsBefore && changeDepth == 0 && std::ranges::find(written, &box) == written.end()) {
            written.push_back(&box);
        }
    }

    // What the procedure reported in the boxes, for a listener who cannot see them.
    void AnnounceWrites() {
        const bool alerted = BeepCount() != *std::exchange(beepsBefore, std::nullopt);
        QStringList texts;
        for (const TextBox* box : written) {
            const Announce when = box->Layout().announce;
            if (when == Announce::OnWrite || (when == Announce::OnAlert && alerted)) {
                texts.append(ToQString(box->Text()));
            }
        }
        if (texts.isEmpty()) {
            return;
        }
        // A reader does not present a focus sent back to where it was: name it.
        if (focusSent != nullptr) {
            texts.append(focusSent->Widget()->accessibleName());
            if (const auto* box = dynamic_cast<const TextBox*>(focusSent)) {
                texts.append(ToQString(box->Text()));
            }
        }
        announcer->Announce(texts.join(QStringLiteral(", ")));
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window.get()) {
            if (event->type() == QEvent::Close) {
                closing = true;
            }
            return false;
        }
        auto it = byWidget.find(watched);
        if (it == byWidget.end()) {
            return false;
        }
        Control& control = *it->second;
        if (IsTypingBox(control) && OnTypingBoxPointer(control, watched, event)) {
            return true;
        }
        switch (event->type()) {
            case QEvent::FocusIn:
                OnFocusIn(control, static_cast<QFocusEvent*>(event)->reason());
                break;
            case QEvent::FocusOut:
                OnFocusOut(control, static_cast<QFocusEvent*>(event)->reason());
                break;
            case QEvent::KeyPress:
                return OnKeyPress(control, static_cast<QKeyEvent*>(event));
            default:
                break;
        }
        return false;
    }

    void OnFocusIn(Control& control, Qt::FocusReason reason = Qt::OtherFocusReason) {
        // A move that a LostFocus redirected: GotFocus belongs to where the focus ends.
        if (pendingFocus != nullptr || focused == &control) {
            return;
        }
        focused = &control;
        clickFocused = reason == Qt::MouseFocusReason ? &control : nullptr;
        Raise(control.Name(), Event::GotFocus);
    }

    static bool IsTypingBox(const Control& control) {
        return control.Layout().kind == ControlKind::TextBox && !control.Layout().locked;
    }

    // A typing box's text changes only while it holds the focus, so that its LostFocus judges
    // every change: the press that gives it the focus leaves the selection its GotFocus made
    // (a drag from there selects as usual); a box without the focus takes no paste, drop or
    // context menu; and no drag of a selection starts, so none empties its box.
    bool OnTypingBoxPointer(Control& box, QObject* watched, QEvent* event) {
        const bool hasFocus = focused == &box;
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick: {
                if (replayingPress) {
                    return false;
                }
                const auto* press = static_cast<QMouseEvent*>(event);
                if (std::exchange(clickFocused, nullptr) == &box ||
                    (!hasFocus && press->button() != Qt::LeftButton)) {
                    held = HeldPress{&box, press->position(), press->button(), false};
                    return true;
                }
                if (press->button() == Qt::LeftButton &&
                    !(press->modifiers() & Qt::ShiftModifier)) {
                    ClearSelection(box);
                }
                return false;
            }
            case QEvent::MouseMove: {
                if (!held || held->box != &box) {
                    return false;
                }
                const auto* move = static_cast<QMouseEvent*>(event);
                if (held->button == Qt::LeftButton && !held->replayed &&
                    (move->position() - held->at).manhattanLength() >=
                        QApplication::startDragDistance()) {
                    held->replayed = true;
                    ReplayPress(box, watched, move);
                }
                return !held->replayed;
            }
            case QEvent::MouseButtonRelease:
                if (held && held->box == &box &&
                    static_cast<QMouseEvent*>(event)->button() == held->button) {
                    return !std::exchange(held, std::nullopt)->replayed;
                }
                return false;
            case QEvent::ContextMenu:
                return !hasFocus;
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
                if (!hasFocus) {
                    event->ignore();
                }
                return !hasFocus;
            default:
                return false;
        }
    }

    void ReplayPress(Control& box, QObject* watched, const QMouseEvent* move) {
        ClearSelection(box);
        QMouseEvent press(QEvent::MouseButtonPress, held->at,
                          move->globalPosition() - move->position() + held->at, Qt::LeftButton,
                          Qt::LeftButton, move->modifiers());
        replayingPress = true;
        QCoreApplication::sendEvent(watched, &press);
        replayingPress = false;
    }

    static void ClearSelection(Control& box) {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(box.Widget())) {
            QTextCursor cursor = edit->textCursor();
            if (cursor.hasSelection()) {
                cursor.clearSelection();
                edit->setTextCursor(cursor);
            }
        } else if (auto* line = qobject_cast<QLineEdit*>(box.Widget())) {
            line->deselect();
        }
    }

    void OnFocusOut(Control& control, Qt::FocusReason reason) {
        // Another window or a menu took the focus for a while; the control keeps it.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
            focused != &control) {
            return;
        }
        focused = nullptr;
        ++lostFocusDepth;
        Raise(control.Name(), Event::LostFocus);
        --lostFocusDepth;
        if (pendingFocus != nullptr) {
            // Normally taken at focusChanged; this catches a change that never emits it.
            QMetaObject::invokeMethod(this, &Router::FinishFocusChange, Qt::QueuedConnection);
        }
    }

    void FinishFocusChange() {
        if (Control* target = std::exchange(pendingFocus, nullptr)) {
            MoveFocus(*target);
        }
    }

    void MoveFocus(Control& target) {
        QWidget* widget = target.Widget();
        if (widget->hasFocus()) {
            OnFocusIn(target);
        } else {
            widget->setFocus(Qt::OtherFocusReason);
        }
    }

    void RequestFocus(Control& target) {
        if (beepsBefore) {
            focusSent = &target;
        }
        if (lostFocusDepth > 0) {
            pendingFocus = &target;
        } else {
            MoveFocus(target);
        }
    }

    void OnClicked(Control& control) {
        // A press that took the focus from a box whose LostFocus sent it back does not click.
        if (focused == &control) {
            Raise(control.Name(), Event::Click);
        }
    }

    bool OnKeyPress(Control& control, QKeyEvent* event) {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (control.Layout().kind == ControlKind::CommandButton) {
            if (enter && control.Widget()->isEnabled()) {
                static_cast<QPushButton*>(control.Widget())->click();
                return true;
            }
            return false;
        }
        auto it = keyProcedures.find(control.Name());
        // A Tab that moves the focus is navigation, not a character typed into the box.
        const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
        if (replayingKey || closing || tab || it == keyProcedures.end()) {
            return false;
        }
        const QString text = event->text();
        char16_t code = 0;
        if (enter) {
            code = kEnter;
        } else if (text.size() == 1) {
            code = text.front().unicode();
        } else {
            return false;  // no character, or one beyond 16 bits: not a key press to report
        }
        auto keyAscii = static_cast<std::int16_t>(code);
        Guarded([&] { it->second(keyAscii); });
        const auto replaced = static_cast<char16_t>(keyAscii);
        if (replaced == code) {
            return false;
        }
        if (replaced != 0) {
            const int key = replaced == kEnter ? Qt::Key_Return : Qt::Key_unknown;
            QKeyEvent replacement(QEvent::KeyPress, key, event->modifiers(),
                                  QString(QChar(replaced)));
            replayingKey = true;
            QCoreApplication::sendEvent(control.Widget(), &replacement);
            replayingKey = false;
        }
        return true;
    }

    void OnUserEdit(Control& control) { Raise(control.Name(), Event::Change); }
};

Form::Form(const WindowLayout& layout) : router_(std::make_unique<Router>(layout)) {
    Router& r = *router_;
    r.window = std::make_unique<QWidget>();
    QWidget* window = r.window.get();
    window->setObjectName(ToQString(layout.name));
    window->setWindowTitle(ToQString(layout.caption));
    window->setGeometry(ToPixels(layout.clientLeft), ToPixels(layout.clientTop),
                        ToPixels(layout.clientWidth), ToPixels(layout.clientHeight));
    window->setFixedSize(ToPixels(layout.clientWidth), ToPixels(layout.clientHeight));
    // Fixed size: no maximise button and no resizing offered by the window manager.
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint);
    if (!layout.icon.empty()) {
        window->setWindowIcon(QIcon(ToQString(layout.icon)));
    }
    window->installEventFilter(&r);
    InstallAccessibility();
    MarkAsFrame(*window);
    r.announcer = new Announcer(*window);

    std::vector<const ControlLayout*> byTabIndex;
    std::vector<std::pair<QWidget*, QString>> widest;
    for (const ControlLayout& c : layout.controls) {
        QWidget* widget = CreateWidget(c, window);
        if (!c.widestText.empty()) {
            widest.emplace_back(widget, ToQString(c.widestText));
        }
        std::unique_ptr<Control> control;
        switch (c.kind) {
            case ControlKind::TextBox: {
                control = std::make_unique<TextBox>(*this, c, widget);
                Control* raw = control.get();
                auto edited = [&r, raw] { r.OnUserEdit(*raw); };
                if (auto* line = qobject_cast<QLineEdit*>(widget)) {
                    QObject::connect(line, &QLineEdit::textEdited, &r, edited);
                } else {
                    QObject::connect(static_cast<QPlainTextEdit*>(widget),
                                     &QPlainTextEdit::textChanged, &r, edited);
                }
                break;
            }
            case ControlKind::CommandButton: {
                control = std::make_unique<CommandButton>(*this, c, widget);
                Control* raw = control.get();
                QObject::connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, &r,
                                 [&r, raw] { r.OnClicked(*raw); });
                break;
            }
            case ControlKind::Label:
                control = std::make_unique<Label>(*this, c, widget);
                widget->lower();  // where a label and a box overlap, the box is on top
                break;
        }
        widget->installEventFilter(&r);
        r.byWidget.emplace(widget, control.get());
        if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
            // Its pointer and drop events arrive at the viewport.
            area->viewport()->installEventFilter(&r);
            r.byWidget.emplace(area->viewport(), control.get());
        }
        r.controls.push_back(std::move(control));
        if (c.kind != ControlKind::Label) {
            byTabIndex.push_back(&c);
        }
    }
    FitFont(*window, widest);
    std::ranges::sort(byTabIndex, {}, &ControlLayout::tabIndex);
    for (std::size_t i = 1; i < byTabIndex.size(); ++i) {
        QWidget::setTabOrder(Find(byTabIndex[i - 1]->name)->Widget(),
                             Find(byTabIndex[i]->name)->Widget());
    }
    QObject::connect(qApp, &QApplication::focusChanged, &r, &Router::FinishFocusChange);
}

Form::~Form() {
    // Widgets send focus events while they are torn down; nothing may run by then.
    router_->closing = true;
    router_->window.reset();
}

Control* Form::Find(std::string_view name) const {
    auto it = std::ranges::find(router_->controls, name, &Control::Name);
    return it == router_->controls.end() ? nullptr : it->get();
}

// Keys point at the names in the form description, which outlive the form, and never at the
// caller's string.
std::string_view Form::OwnName(std::string_view name) const {
    if (name == router_->layout.name) {
        return router_->layout.name;
    }
    const Control* control = Find(name);
    if (control == nullptr) {
        throw std::logic_error("no control of that name");
    }
    return control->Name();
}

void Form::Connect(std::string_view name, Event event, Procedure procedure) {
    router_->procedures[{OwnName(name), event}] = std::move(procedure);
}

void Form::ConnectKeyPress(std::string_view name, KeyProcedure procedure) {
    router_->keyProcedures[OwnName(name)] = std::move(procedure);
}

QSize Form::OuterSize() const {
    Router& r = *router_;
    if (r.window->isVisible()) {
        return r.window->frameGeometry().size();
    }
    // Not yet framed: the client size and the frame the window manager says it will add.
    if (!r.frame) {
        r.frame = FrameExtents(*r.window);
    }
    return r.window->size().grownBy(*r.frame);
}

float Form::Width() const {
    return ToTwips(OuterSize().width());
}
float Form::Height() const {
    return ToTwips(OuterSize().height());
}

void Form::SetLeft(float left) {
    QWidget& window = *router_->window;
    window.move(ToPixels(left), window.pos().y());
}

void Form::SetTop(float top) {
    QWidget& window = *router_->window;
    window.move(window.pos().x(), ToPixels(top));
}

void Form::Load() {
    router_->Raise(router_->layout.name, Event::Load);
}

void Form::Show() {
    Router& r = *router_;
    auto first = std::ranges::min_element(r.controls, {}, [](const auto& control) {
        const QWidget* w = control->Widget();
        const bool canTakeFocus = w->focusPolicy() != Qt::NoFocus && w->isEnabled();
        return canTakeFocus ? control->Layout().tabIndex : std::numeric_limits<int>::max();
    });
    if (first != r.controls.end()) {
        (*first)->Widget()->setFocus(Qt::OtherFocusReason);
    }
    // Centring on a screen smaller than the window would put its title bar out of reach.
    if (const QScreen* screen = r.window->screen()) {
        const QRect available = screen->availableGeometry();
        const QPoint frame = r.window->frameGeometry().topLeft();
        const QPoint reachable(std::max(frame.x(), available.left()),
                               std::max(frame.y(), available.top()));
        if (reachable != frame) {
            r.window->move(reachable);
        }
    }
    r.window->show();
    r.window->activateWindow();
}

QWidget* Form::Widget() const {
    return router_->window.get();
}

Control* Form::FocusedControl() const {
    return router_->focused;
}

void Form::RequestFocus(Control& control) {
    router_->RequestFocus(control);
}

void Form::NoteWrite(const TextBox& box) {
    router_->NoteWrite(box);
}

void Form::RaiseChange(Control& control) {
    router_->Raise(control.Name(), Event::Change);
}

}  // namespace tsrl::forms
