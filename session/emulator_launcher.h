#pragma once

#include "core/emulator_command.h"
#include "core/test_copy_folder.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <span>

class QProcess;

// Tries the image in an emulator: writes it, with the boot patch applied, to a fresh copy
// and starts the emulator command on that copy, the ROM file, the history and the journal
// untouched. Emulators run beside the editor, any number at once; those still running
// when the launcher goes end with it, and their copies are removed.
class EmulatorLauncher : public QObject
{
    Q_OBJECT

public:
    // How long after its start an emulator's end with an error is reported: later, it is
    // the user who closed it.
    static constexpr int ReportedEndMs = 5000;

    // Removes the copies that killed runs left below copiesParent.
    explicit EmulatorLauncher(std::filesystem::path copiesParent, QObject *parent = nullptr);
    ~EmulatorLauncher() override;

    // Starts the command of the settings on a copy of image named as romFile is, with
    // stage for "%l". Throws with the reason, and starts nothing, when the command names
    // no program, the boot patch cannot be read or does not apply, or the copy cannot be
    // written. What goes wrong once the program is started is said by failed.
    void launch(const tamo::EmulatorSettings &settings, std::span<const uint8_t> image,
                const std::filesystem::path &romFile, int32_t stage);

signals:
    // The program could not be started, or it ended with an error soon after its start.
    void failed(const QString &text);

private:
    void watch(QProcess *process, const QString &command);

    tamo::TestCopyFolder m_copies;
};
