// The engine's multi-line text box: it wraps its text, lines its first line up with the
// single-line boxes, and never holds a line break, since the program reads its whole text as
// one value.
#pragma once

#include <QPlainTextEdit>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "editing_rules.h"

namespace tsrl::forms {

class BoxEdit final : public QPlainTextEdit {
  public:
    explicit BoxEdit(QWidget* parent);

    // What an insertion of a text puts into the box, or nothing where it is refused.
    using InsertRule =
        std::function<std::optional<Inserted>(std::u16string_view text, Insertion how)>;
    void SetInsertRule(InsertRule rule) { insertRule_ = std::move(rule); }
    std::optional<Inserted> Taken(std::u16string_view text, Insertion how) const {
        return insertRule_ ? insertRule_(text, how) : std::nullopt;
    }

  protected:
    // Pastes, middle-click pastes and drops where they point all arrive here.
    void insertFromMimeData(const QMimeData* source) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // The first line sits where a single-line box of the same height centres its text, so
    // that every box of a row shares one baseline.
    void CentreFirstLine();
    // Keeps a long text cheap to move the cursor in and to select: see the definition.
    void AfterChange();

    InsertRule insertRule_;
    bool dropping_ = false;
};

}  // namespace tsrl::forms
