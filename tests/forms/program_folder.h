#pragma once

#include "forms/message_box.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// A fresh program folder for each test: the demo set's Data folder and demo.smc copied
// from the build folder, an empty Config folder, the seven windows created on it and
// every message recorded instead of shown; the question about unsaved edits is recorded
// and answered with questionAnswer, the yes-or-no questions with yesNoAnswer.
class ProgramFolderTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The steps of SetUp, for tests that prepare the folder before the windows exist.
    void makeFolder();
    // Creates the windows and shows the main window, as the program does with its
    // command-line argument (none when empty).
    void createWindows(const QString &commandLineRom = {});
    // Closes the main window as the user would (writing the settings) and starts the
    // windows again on the same folder: the next run of the program.
    void restart();
    // Destroys the windows without closing them, as a crash ends the program, and starts
    // them again on the same folder.
    void startAgainAfterACrash(const QString &commandLineRom = {});

    std::filesystem::path programDir() const;
    std::filesystem::path dataFile(const std::string &relative) const;
    QString demoRom() const;
    std::string readText(const std::string &relative) const;
    void writeText(const std::string &relative, const std::string &text) const;

    // Opens demo.smc as the open dialog's accept would.
    void openDemoRom();
    // Shows a window and makes it the active one, so that keys reach its shortcuts.
    static void activate(QWidget *window);

    QStringList messages;
    QStringList questions;
    UnsavedEditsAnswer questionAnswer = UnsavedEditsAnswer::Discard;
    QStringList yesNoQuestions;
    bool yesNoAnswer = true;

private:
    QTemporaryDir m_folder;
    bool m_windowsCreated = false;
};
