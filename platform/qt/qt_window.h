// The Qt backend's window: the native primitives of native_window.h on Qt Widgets, and the
// translation of the widgets' events into calls of the router and the editing rules
// (events.cpp). Blocking a write's signals is all it decides itself.
#pragma once

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMargins>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "accessibility.h"
#include "box_edit.h"
#include "editing_rules.h"
#include "event_router.h"
#include "frame_extents.h"
#include "maximised_size.h"
#include "native_window.h"
#include "outside_close.h"
#include "qt_native.h"
#include "qt_text.h"
#include "widgets.h"

class QDropEvent;
class QMouseEvent;

namespace tsrl::forms {

inline PixelRect FromQRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

class QtWindow final : public QObject, public NativeWindow {
  public:
    explicit QtWindow(const WindowLayout& layout) : window_(std::make_unique<QWidget>()) {
        UseWindowFace(*window_, layout.font);
        // Qt scales its logical pixels to the device: the layout's 15 twips make one of them.
        const PixelRect client = ClientOf(layout, kStandardPixelsPerInch);
        window_->setObjectName(ToQString(layout.name));
        window_->setWindowTitle(ToQString(layout.caption));
        window_->setGeometry(client.left, client.top, client.width, client.height);
        window_->setFixedSize(client.width, client.height);
        // Fixed size: no maximise button and no resizing offered by the window manager.
        window_->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                Qt::WindowCloseButtonHint);
        frameRequest_ = Ask(*window_);
        if (layout.icon == WindowIcon::Program) {
            window_->setWindowIcon(QGuiApplication::windowIcon());
        }
        window_->installEventFilter(this);
        InstallAccessibility();
        MarkAsFrame(*window_);
        announcer_ = new Announcer(*window_);
        QObject::connect(qApp, &QApplication::focusChanged, this, [this] {
            if (router_ != nullptr) {
                router_->FinishFocusChange();
            }
        });
    }
    ~QtWindow() override {
        router_ = nullptr;
        editing_ = nullptr;
        window_.reset();
    }

    void Attach(EventRouter& router, EditingRules& editing) override {
        router_ = &router;
        editing_ = &editing;
    }

    NativeControl* Handle() const override { return AsNative(window_.get()); }

    NativeControl* Create(ControlId id, const ControlLayout& c, const PixelRect& at) override {
        QWidget* widget = MakeWidget(c, window_.get());
        widget->setGeometry(at.left, at.top, at.width, at.height);
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            QObject::connect(line, &QLineEdit::textEdited, this, [this, id] { Edited(id); });
        } else if (auto* edit = dynamic_cast<BoxEdit*>(widget)) {
            QObject::connect(edit, &QPlainTextEdit::textChanged, this, [this, id] { Edited(id); });
            edit->SetInsertRule([this, id](std::u16string_view text, Insertion how) {
                return editing_ != nullptr ? editing_->Insert(id, text, how) : std::nullopt;
            });
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QObject::connect(button, &QPushButton::clicked, this, [this, id] {
                if (router_ != nullptr) {
                    router_->Clicked(id);
                }
            });
            FocusOnPress(*button);
        }
        widget->installEventFilter(this);
        widgets_.push_back(widget);
        byWidget_.emplace(widget, id);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
            // Its pointer and drop events arrive at the viewport.
            area->viewport()->installEventFilter(this);
            byWidget_.emplace(area->viewport(), id);
        }
        return AsNative(widget);
    }
    void Lower(ControlId id) override { widgets_[id]->lower(); }

    void SetAccessibleText(std::optional<ControlId> id, std::string_view name,
                           std::string_view description) override {
        QWidget* widget = id ? widgets_[*id] : window_.get();
        if (!name.empty()) {
            widget->setAccessibleName(ToQString(name));
        }
        if (!description.empty()) {
            widget->setAccessibleDescription(ToQString(description));
        }
    }

    double TextWidth(const Font& font, std::u16string_view text) const override {
        return QFontMetricsF(ToQFont(font)).horizontalAdvance(ToQString(text));
    }
    double LineWidth(ControlId id) const override { return LineWidthOf(widgets_[id]); }
    void SetFont(std::optional<ControlId> id, const Font& font) override {
        (id ? widgets_[*id] : window_.get())->setFont(ToQFont(font));
    }

    int PixelsPerInch() const override { return kStandardPixelsPerInch; }
    PixelRect Screen() const override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen != nullptr ? FromQRect(screen->geometry()) : PixelRect{};
    }
    PixelRect WorkArea() const override {
        const QScreen* screen = window_->screen();
        return screen != nullptr ? FromQRect(screen->availableGeometry()) : Frame();
    }
    PixelRect Frame() const override {
        if (window_->isVisible()) {
            return FromQRect(window_->frameGeometry());
        }
        // Not yet framed: the client size and the frame the window manager says it will add.
        if (!frame_) {
            frame_ = frameRequest_.Answer();
        }
        return FromQRect(QRect(window_->pos(), window_->size().grownBy(*frame_)));
    }
    void MoveFrame(int left, int top) override { window_->move(left, top); }
    void Show(std::optional<ControlId> focus) override {
        if (focus) {
            widgets_[*focus]->setFocus(Qt::OtherFocusReason);
        }
        window_->show();
        window_->activateWindow();
        EndWhenDestroyedOutside(*window_);
        AcceptMaximisedSize(*window_);
    }
    int RunLoop() override { return QApplication::exec(); }

    bool CanTakeFocus(ControlId id) const override {
        return widgets_[id]->focusPolicy() != Qt::NoFocus && widgets_[id]->isEnabled();
    }
    bool HasFocus(ControlId id) const override { return widgets_[id]->hasFocus(); }
    void Focus(ControlId id) override { widgets_[id]->setFocus(focusReason_); }
    void FinishFocusChangeLater() override {
        // Normally taken at focusChanged; this catches a change that never emits it.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (router_ != nullptr) {
                    router_->FinishFocusChange();
                }
            },
            Qt::QueuedConnection);
    }
    std::u16string Text(ControlId id) const override {
        const QString text = TextOf(widgets_[id]);
        return {reinterpret_cast<const char16_t*>(text.utf16()),
                static_cast<std::size_t>(text.size())};
    }
    void ReplaceText(ControlId id, std::u16string_view text) override {
        const QSignalBlocker quiet(widgets_[id]);
        ReplaceTextOf(widgets_[id], ToQString(text));
    }
    int Length(ControlId id) const override { return LengthOf(widgets_[id]); }
    std::pair<int, int> Selection(ControlId id) const override { return SelectionOf(widgets_[id]); }
    void Select(ControlId id, int start, int end) override { SelectIn(widgets_[id], start, end); }
    void ForgetUndo(ControlId id) override { ForgetUndoOf(widgets_[id]); }
    void Type(ControlId id, char16_t key) override {
        QKeyEvent typed(QEvent::KeyPress, key == kEnterKey ? Qt::Key_Return : Qt::Key_unknown,
                        Qt::NoModifier, QString(QChar(key)));
        QCoreApplication::sendEvent(widgets_[id], &typed);
    }
    bool Enabled(ControlId id) const override { return widgets_[id]->isEnabled(); }
    void SetEnabled(ControlId id, bool enabled) override { widgets_[id]->setEnabled(enabled); }
    void Beep() override { QApplication::beep(); }
    bool CanAnnounce() const override { return true; }
    void Announce(std::u16string_view text) override { announcer_->Announce(ToQString(text)); }

  private:
    void Edited(ControlId id) {
        if (router_ != nullptr) {
            router_->UserEdit(id);
        }
    }
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool OnPress(ControlId id, const QMouseEvent* press);
    bool OnMove(ControlId id, QObject* watched, const QMouseEvent* move);
    bool OnDrop(ControlId id, QDropEvent* event);
    bool OnKeyPress(ControlId id, const QKeyEvent* event);

    // Attached once the rules exist; none while the window is torn down.
    EventRouter* router_ = nullptr;
    EditingRules* editing_ = nullptr;
    std::unique_ptr<QWidget> window_;
    std::vector<QWidget*> widgets_;  // by ControlId
    std::map<QObject*, ControlId> byWidget_;
    Announcer* announcer_ = nullptr;            // a child of the window
    mutable FrameExtentsRequest frameRequest_;  // asked of the window manager as the window is made
    mutable std::optional<QMargins> frame_;
    bool replayingPress_ = false;
    // Why the focus moves: a single-line box selects its whole text when a Tab brings it there.
    Qt::FocusReason focusReason_ = Qt::OtherFocusReason;
};

}  // namespace tsrl::forms
