#include "tests/forms/program_folder.h"

#include "forms/UnitMain.h"
#include "forms/rom_file_session.h"
#include "forms/application_windows.h"
#include "forms/message_box.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <iterator>

namespace {

const std::filesystem::path demoFolder{TAMO_DEMO_FOLDER};

} // namespace

void ProgramFolderTest::SetUp()
{
    makeFolder();
    createWindows();
}

void ProgramFolderTest::TearDown()
{
    if (m_windowsCreated)
        DestroyWindows();
    SetMessageHook({});
    SetQuestionHook({});
    SetYesNoHook({});
}

void ProgramFolderTest::makeFolder()
{
    ASSERT_TRUE(m_folder.isValid());
    ASSERT_TRUE(std::filesystem::exists(demoFolder / "Data"))
        << "the demo set is missing from " << demoFolder << "; build tamo-cli first";
    std::filesystem::copy(demoFolder / "Data", programDir() / "Data",
                          std::filesystem::copy_options::recursive);
    std::filesystem::copy_file(demoFolder / "demo.smc", programDir() / "demo.smc");
    std::filesystem::create_directory(programDir() / "Config");
    SetMessageHook([this](const QString &text) { messages.append(text); });
    SetQuestionHook([this](const QString &text) {
        questions.append(text);
        return questionAnswer;
    });
    SetYesNoHook([this](const QString &text) {
        yesNoQuestions.append(text);
        return yesNoAnswer;
    });
}

void ProgramFolderTest::createWindows(const QString &commandLineRom)
{
    // A main window closed before, by restart() or by an earlier test of this process,
    // ended the application's event loop for good: every modal dialog after it would
    // return at once. One short run of the application's loop clears that.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    m_windowsCreated = true;
    CreateWindows(programDir());
    FormMain->CommandLineRom = commandLineRom;
    activate(FormMain);
    // The first show's work (opening the command-line ROM) runs once the window is up.
    QApplication::processEvents();
}

void ProgramFolderTest::activate(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

void ProgramFolderTest::restart()
{
    FormMain->close();
    DestroyWindows();
    m_windowsCreated = false;
    createWindows();
}

void ProgramFolderTest::startAgainAfterACrash(const QString &commandLineRom)
{
    DestroyWindows();
    m_windowsCreated = false;
    createWindows(commandLineRom);
}

std::filesystem::path ProgramFolderTest::programDir() const
{
    // With the trailing separator, as the program's own folder is given.
    return std::filesystem::path(m_folder.path().toStdString()) / "";
}

std::filesystem::path ProgramFolderTest::dataFile(const std::string &relative) const
{
    return programDir() / relative;
}

QString ProgramFolderTest::demoRom() const
{
    return QString::fromStdString(dataFile("demo.smc").string());
}

std::string ProgramFolderTest::readText(const std::string &relative) const
{
    std::ifstream in(dataFile(relative), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ProgramFolderTest::writeText(const std::string &relative, const std::string &text) const
{
    std::ofstream out(dataFile(relative), std::ios::binary);
    out << text;
}

void ProgramFolderTest::openDemoRom()
{
    FormMain->Files->OpenRom(demoRom());
    QApplication::processEvents();
}
