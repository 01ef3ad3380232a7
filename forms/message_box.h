#pragma once

#include <QString>

#include <functional>

// Every user message of the program is a one-button box shown through here, so that a
// test can record the texts instead of showing boxes.
void ShowMessage(const QString &text);

// With a hook set, ShowMessage hands the text to it and shows nothing; an empty hook
// brings the boxes back.
void SetMessageHook(std::function<void(const QString &)> hook);
