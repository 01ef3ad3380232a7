#pragma once

#include "forms/image_list.h"

#include <QKeyCombination>

#include <optional>

class QAction;
class QObject;

// An action as the menus, the tool bars and the shortcuts share it: its menu caption, the
// caption and tip its tool button shows, its key and its picture.
struct ActionDefinition
{
    const char *name;
    const char *caption;
    const char *buttonCaption;
    const char *tip;
    QKeyCombination shortcut;
    std::optional<ImageListIcon> icon;
    bool checkable;
    bool enabledAtStart;
};

constexpr QKeyCombination NoShortcut{};

// The action, named after the definition. Its key works while any window of the program
// is active (a modal dialog still blocks it), until its context is set otherwise.
QAction *CreateAction(const ActionDefinition &definition, QObject *parent);
