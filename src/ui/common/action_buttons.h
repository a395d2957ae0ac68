#pragma once
// The row of text buttons over a tab's list: one button per action, then a stretch; and the
// tab's layout of that row above the list.

#include <QAction>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include <initializer_list>

namespace pelko {

inline QHBoxLayout* MakeActionButtons(QWidget* parent, std::initializer_list<QAction*> actions) {
    auto* buttons = new QHBoxLayout;
    for (QAction* action : actions) {
        auto* button = new QToolButton(parent);
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    return buttons;
}

inline void LayOutButtonsAbove(QWidget* page, QLayout* buttons, QWidget* list) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(buttons);
    layout->addWidget(list, 1);
}

} // namespace pelko
