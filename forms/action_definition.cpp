#include "forms/action_definition.h"

#include <QAction>

QAction *CreateAction(const ActionDefinition &definition, QObject *parent)
{
    auto *action = new QAction(QString::fromUtf8(definition.caption), parent);
    action->setObjectName(QString::fromLatin1(definition.name));
    if (definition.buttonCaption)
        action->setIconText(QString::fromUtf8(definition.buttonCaption));
    if (definition.tip)
        action->setToolTip(QString::fromUtf8(definition.tip));
    if (definition.shortcut != NoShortcut)
        action->setShortcut(definition.shortcut);
    action->setShortcutContext(Qt::ApplicationShortcut);
    if (definition.icon)
        action->setIcon(ImageList1(*definition.icon));
    action->setCheckable(definition.checkable);
    action->setEnabled(definition.enabledAtStart);
    return action;
}
