#pragma once

#include <QString>

#include <functional>

// Every user message of the program is a one-button box shown through here, so that a
// test can record the texts instead of showing boxes.
void ShowMessage(const QString &text);

// With a hook set, ShowMessage hands the text to it and shows nothing; an empty hook
// brings the boxes back.
void SetMessageHook(std::function<void(const QString &)> hook);

// The answer to the question asked before unsaved edits would be lost.
enum class UnsavedEditsAnswer { Save, Discard, Cancel };

// A standard question box with Save (the default), Discard and Cancel (also Esc); a test
// can answer it through its hook instead.
UnsavedEditsAnswer AskAboutUnsavedEdits(const QString &text);
void SetQuestionHook(std::function<UnsavedEditsAnswer(const QString &)> hook);

// A standard question box with Yes and No (Esc answers No); yesIsDefault makes Yes the
// default button. A test can answer it through its hook instead.
bool AskYesNo(const QString &text, bool yesIsDefault = true);
void SetYesNoHook(std::function<bool(const QString &)> hook);
