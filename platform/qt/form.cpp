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
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextCursor>
#include <QWidget>
#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "accessibility.h"
#include "box_edit.h"
#include "event_router.h"
#include "frame_extents.h"
#include "qt_native.h"
#include "qt_text.h"
#include "services.h"

namespace tsrl::forms {
namespace {

constexpr qreal kDocumentMargin = 2.0;  // keeps the widest texts on one line in the narrow boxes

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

// The Qt side of a form: its widgets, and the translation of their events into the engine's
// rules (event_router.h); holding a press and replaying it, or blocking a write's signals, is
// all it decides itself.
struct Form::Router final : QObject, NativeControls {
    explicit Router(const WindowLayout& description) : layout(description), rules(layout, *this) {}

    const WindowLayout& layout;
    EventRouter rules;
    std::unique_ptr<QWidget> window;
    std::vector<QWidget*> widgets;  // by ControlId
    std::vector<std::unique_ptr<Control>> controls;
    std::map<QObject*, ControlId> byWidget;
    Announcer* announcer = nullptr;  // a child of the window

    // A press that only gave a typing box the focus, held back in case a drag follows it.
    struct HeldPress {
        ControlId box;
        QPointF at;
        Qt::MouseButton button;
        bool replayed;  // a drag followed, and the press was let through to start it
    };
    std::optional<HeldPress> held;
    bool replayingPress = false;
    std::optional<QMargins> frame;  // asked of the window manager once, before the first show
    // Why the focus moves: a single-line box selects its whole text when a Tab brings it there.
    Qt::FocusReason focusReason = Qt::OtherFocusReason;

    // NativeControls.
    bool CanTakeFocus(ControlId id) const override {
        return widgets[id]->focusPolicy() != Qt::NoFocus && widgets[id]->isEnabled();
    }
    bool HasFocus(ControlId id) const override { return widgets[id]->hasFocus(); }
    void Focus(ControlId id) override { widgets[id]->setFocus(focusReason); }
    void FinishFocusChangeLater() override {
        // Normally taken at focusChanged; this catches a change that never emits it.
        QMetaObject::invokeMethod(
            this, [this] { rules.FinishFocusChange(); }, Qt::QueuedConnection);
    }
    void Type(ControlId id, char16_t key) override {
        QKeyEvent typed(QEvent::KeyPress, key == kEnterKey ? Qt::Key_Return : Qt::Key_unknown,
                        Qt::NoModifier, QString(QChar(key)));
        QCoreApplication::sendEvent(widgets[id], &typed);
    }
    std::u16string Text(ControlId id) const override {
        const QString text = TextOf(widgets[id]);
        return {reinterpret_cast<const char16_t*>(text.utf16()),
                static_cast<std::size_t>(text.size())};
    }
    void ReplaceText(ControlId id, std::u16string_view text) override {
        const QSignalBlocker quiet(widgets[id]);
        if (auto* edit = qobject_cast<QPlainTextEdit*>(widgets[id])) {
            edit->setPlainText(ToQString(text));
        } else if (auto* line = qobject_cast<QLineEdit*>(widgets[id])) {
            line->setText(ToQString(text));
            line->setCursorPosition(0);  // show a long text from its start
        }
    }
    std::u16string AccessibleName(ControlId id) const override {
        const QString name = widgets[id]->accessibleName();
        return {reinterpret_cast<const char16_t*>(name.utf16()),
                static_cast<std::size_t>(name.size())};
    }
    void Announce(std::u16string_view text) override { announcer->Announce(ToQString(text)); }
    int BeepCount() const override { return forms::BeepCount(); }

    static QString TextOf(const QWidget* widget) {
        if (const auto* edit = qobject_cast<const QPlainTextEdit*>(widget)) {
            return edit->toPlainText();
        }
        if (const auto* line = qobject_cast<const QLineEdit*>(widget)) {
            return line->text();
        }
        return {};
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window.get()) {
            if (event->type() == QEvent::Close) {
                rules.Close();
            }
            return false;
        }
        auto it = byWidget.find(watched);
        if (it == byWidget.end()) {
            return false;
        }
        const ControlId id = it->second;
        switch (event->type()) {
            case QEvent::FocusIn: {
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                rules.FocusIn(id, reason == Qt::MouseFocusReason);
                return false;
            }
            case QEvent::FocusOut: {
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                rules.FocusOut(
                    id, reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason);
                return false;
            }
            case QEvent::KeyPress:
                return OnKeyPress(id, static_cast<QKeyEvent*>(event));
            case QEvent::ContextMenu:
                return !rules.TakesEditing(id);
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
                if (!rules.TakesEditing(id)) {
                    event->ignore();
                    return true;
                }
                return false;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                return OnPress(id, static_cast<QMouseEvent*>(event));
            case QEvent::MouseMove:
                return OnMove(id, watched, static_cast<QMouseEvent*>(event));
            case QEvent::MouseButtonRelease:
                if (held && held->box == id &&
                    static_cast<QMouseEvent*>(event)->button() == held->button) {
                    return !std::exchange(held, std::nullopt)->replayed;
                }
                return false;
            default:
                return false;
        }
    }

    bool OnPress(ControlId id, const QMouseEvent* press) {
        if (replayingPress) {
            return false;
        }
        const bool primary = press->button() == Qt::LeftButton;
        switch (rules.Press(id, primary, (press->modifiers() & Qt::ShiftModifier) != 0)) {
            case PressOutcome::FocusOnly:
                held = HeldPress{id, press->position(), press->button(), false};
                return true;
            case PressOutcome::ClearSelectionAndPass:
                ClearSelection(widgets[id]);
                return false;
            case PressOutcome::Pass:
                break;
        }
        return false;
    }

    // A drag from a held press selects from where the press was, as an unheld one would.
    bool OnMove(ControlId id, QObject* watched, const QMouseEvent* move) {
        if (!held || held->box != id) {
            return false;
        }
        if (held->button == Qt::LeftButton && !held->replayed &&
            (move->position() - held->at).manhattanLength() >= QApplication::startDragDistance()) {
            held->replayed = true;
            ClearSelection(widgets[id]);
            QMouseEvent press(QEvent::MouseButtonPress, held->at,
                              move->globalPosition() - move->position() + held->at, Qt::LeftButton,
                              Qt::LeftButton, move->modifiers());
            replayingPress = true;
            QCoreApplication::sendEvent(watched, &press);
            replayingPress = false;
        }
        return !held->replayed;
    }

    static void ClearSelection(QWidget* box) {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) {
            QTextCursor cursor = edit->textCursor();
            if (cursor.hasSelection()) {
                cursor.clearSelection();
                edit->setTextCursor(cursor);
            }
        } else if (auto* line = qobject_cast<QLineEdit*>(box)) {
            line->deselect();
        }
    }

    bool OnKeyPress(ControlId id, const QKeyEvent* event) {
        // Navigation, not a character typed into the control.
        if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
            const bool backwards =
                event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier) != 0;
            focusReason = backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason;
            rules.Tab(id, backwards);
            focusReason = Qt::OtherFocusReason;
            return true;
        }
        const QString text = event->text();
        char16_t key = 0;
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            key = kEnterKey;
        } else if (text.size() == 1) {
            key = text.front().unicode();
        } else {
            return false;  // no character, or one beyond 16 bits: not a key press to report
        }
        return rules.Key(id, key) == KeyOutcome::Swallow;
    }

    QSize OuterSize() {
        if (window->isVisible()) {
            return window->frameGeometry().size();
        }
        // Not yet framed: the client size and the frame the window manager says it will add.
        if (!frame) {
            frame = FrameExtents(*window);
        }
        return window->size().grownBy(*frame);
    }
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
    if (layout.icon == WindowIcon::Program) {
        window->setWindowIcon(QGuiApplication::windowIcon());
    }
    window->installEventFilter(&r);
    InstallAccessibility();
    MarkAsFrame(*window);
    r.announcer = new Announcer(*window);

    std::vector<std::pair<QWidget*, QString>> widest;
    for (ControlId id = 0; id < layout.controls.size(); ++id) {
        const ControlLayout& c = layout.controls[id];
        QWidget* widget = CreateWidget(c, window);
        if (!c.widestText.empty()) {
            widest.emplace_back(widget, ToQString(c.widestText));
        }
        switch (c.kind) {
            case ControlKind::TextBox: {
                r.controls.push_back(std::make_unique<TextBox>(*this, c, AsNative(widget)));
                auto edited = [&r, id] { r.rules.UserEdit(id); };
                if (auto* line = qobject_cast<QLineEdit*>(widget)) {
                    QObject::connect(line, &QLineEdit::textEdited, &r, edited);
                } else {
                    QObject::connect(static_cast<QPlainTextEdit*>(widget),
                                     &QPlainTextEdit::textChanged, &r, edited);
                }
                break;
            }
            case ControlKind::CommandButton:
                r.controls.push_back(std::make_unique<CommandButton>(*this, c, AsNative(widget)));
                QObject::connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, &r,
                                 [&r, id] { r.rules.Clicked(id); });
                FocusOnPress(*static_cast<QPushButton*>(widget));
                break;
            case ControlKind::Label:
                r.controls.push_back(std::make_unique<Label>(*this, c, AsNative(widget)));
                widget->lower();  // where a label and a box overlap, the box is on top
                break;
        }
        widget->installEventFilter(&r);
        r.widgets.push_back(widget);
        r.byWidget.emplace(widget, id);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
            // Its pointer and drop events arrive at the viewport.
            area->viewport()->installEventFilter(&r);
            r.byWidget.emplace(area->viewport(), id);
        }
    }
    FitFont(*window, widest);
    QObject::connect(qApp, &QApplication::focusChanged, &r, [&r] { r.rules.FinishFocusChange(); });
}

Form::~Form() {
    // Widgets send focus events while they are torn down; nothing may run by then.
    router_->rules.Close();
    router_->window.reset();
}

float Form::Width() const {
    return ToTwips(router_->OuterSize().width());
}
float Form::Height() const {
    return ToTwips(router_->OuterSize().height());
}

void Form::SetLeft(float left) {
    QWidget& window = *router_->window;
    window.move(ToPixels(left), window.pos().y());
}

void Form::SetTop(float top) {
    QWidget& window = *router_->window;
    window.move(window.pos().x(), ToPixels(top));
}

void Form::Show() {
    Router& r = *router_;
    if (const std::optional<ControlId> first = r.rules.FirstInTabOrder()) {
        r.widgets[*first]->setFocus(Qt::OtherFocusReason);
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

NativeControl* Form::Native() const {
    return AsNative(router_->window.get());
}

EventRouter& Form::Rules() const {
    return router_->rules;
}

Control& Form::ControlAt(std::size_t id) const {
    return *router_->controls[id];
}

}  // namespace tsrl::forms
