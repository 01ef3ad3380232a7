#pragma once

#include "core/patch_file.h"

#include <QObject>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

class QFileDialog;
class QWidget;
class StageSession;

// What the editor does with patches for its user: writes the image in memory, unsaved
// edits included, as a BPS or IPS patch against the unmodified ROM (asked for once and
// kept in the settings while it still reads at the image's size), and applies a patch to
// the image as one step of the history, which reaches the file only when it is saved.
class PatchFileSession : public QObject
{
    Q_OBJECT

public:
    PatchFileSession(StageSession &session, QWidget &window);

    // The actions of the File menu.
    void exportPatch();
    void applyPatch();

private:
    // The patch file to write and its format: by the name's extension, else by the file
    // type chosen.
    struct PatchTarget
    {
        std::filesystem::path file;
        tamo::PatchFormat format;
    };

    void createFileDialogs();
    // The unmodified ROM's bytes: the remembered file while it reads at the image's size,
    // else the one the user chooses (then remembered); none when the user cancels.
    std::optional<std::vector<uint8_t>> baseRom();
    std::optional<std::vector<uint8_t>> rememberedBaseRom() const;
    std::optional<std::vector<uint8_t>> chooseBaseRom();
    std::optional<PatchTarget> choosePatchTarget();
    QString romFolder() const;

    StageSession &m_session;
    QWidget &m_window;
    QFileDialog *PatchExportDialog1 = nullptr;
};
