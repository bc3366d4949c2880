#include "keyboard_menu.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QWidget>
#include <algorithm>

namespace tsrl::forms {

void OpenMenuFromKeyboard(QWidget& box) {
    const QPoint at = box.inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent asked(QContextMenuEvent::Keyboard, at, box.mapToGlobal(at));
    QCoreApplication::sendEvent(&box, &asked);
}

void StartMenuAtFirstItem() {
    // The box makes its menu as it handles the request, after this is called.
    QMetaObject::invokeMethod(
        qApp,
        [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr || menu->activeAction() != nullptr) {
                return;
            }
            const QList<QAction*> items = menu->actions();
            const auto first = std::ranges::find_if(items, [](const QAction* item) {
                return item->isEnabled() && item->isVisible() && !item->isSeparator();
            });
            if (first != items.end()) {
                menu->setActiveAction(*first);
            }
        },
        Qt::QueuedConnection);
}

}  // namespace tsrl::forms
