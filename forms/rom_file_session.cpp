#include "forms/rom_file_session.h"

#include "core/file_system.h"
#include "core/ini_file.h"
#include "files/file_names.h"
#include "forms/UnitRestorePoints.h"
#include "forms/image_export_dialog.h"
#include "forms/message_box.h"
#include "forms/rom_file_questions.h"
#include "forms/rom_open_dialog.h"
#include "qtcommon/stage_picture_file.h"
#include "session/stage_session.h"

#include <QDir>
#include <QFileInfo>

RomFileSession::RomFileSession(StageSession &session, QWidget &window)
    : QObject(&window)
    , m_session(session)
    , m_window(window)
{
    createFileDialogs();
}

void RomFileSession::createFileDialogs()
{
    OpenDialog1 = new RomOpenDialog(&m_window);
    ExportDialog1 = new ImageExportDialog(&m_window);
}

void RomFileSession::readSettings(const tamo::IniFile &ini)
{
    const std::string initialDir
        = ini.readString("FileDialog", "InitialDir", tamo::fileNameText(m_session.Folder.dir()).toStdString());
    OpenDialog1->setDirectory(QString::fromStdString(initialDir));
    m_restorePointsKept = ini.readInteger("Backups", "Keep", 20);
}

void RomFileSession::writeSettings(tamo::IniFile &ini) const
{
    if (!m_session.RomLoaded)
        return;
    const QString folder = QFileInfo(m_session.RomFileName).absolutePath() + QLatin1Char('/');
    ini.writeString("FileDialog", "InitialDir", QDir::toNativeSeparators(folder).toStdString());
}

void RomFileSession::OpenRom(const QString &path)
{
    if (!OtherEditorsAllowOpen(*m_session.Journal, path))
        return;
    try {
        m_session.openImage(path);
    } catch (const std::exception &) {
        // The image, its history, the stage and the windows all stay as they were.
        ShowMessage(path + QStringLiteral("の読み込みに失敗しました。"));
        return;
    }
    RemoveStaleSaveCopies(*m_session.Document);
    // Before the stage is shown: a stage that fails to load must not keep the question
    // from being asked, and the edits of the journal are lost once new ones replace them.
    OfferRecovery(*m_session.Journal, *m_session.Document, m_session.LevelNumber);
    m_session.LoadStage();
}

bool RomFileSession::SaveRom()
{
    if (!DiskAllowsSave(*m_session.Document))
        return false;
    // A restore point that cannot be written stops the save before the file is touched.
    restorePoints().keepBeforeSave();
    // A failed write throws before the success message; the image stays as it is.
    m_session.Document->save();
    ShowMessage(m_session.RomFileName + QStringLiteral("を保存しました。"));
    return true;
}

RestorePoints RomFileSession::restorePoints() const
{
    return RestorePoints(m_session.Folder.backupsFolder(), tamo::filePath(m_session.RomFileName), m_restorePointsKept);
}

bool RomFileSession::unsavedEditsMayGo()
{
    if (!m_session.Document->isModified())
        return true;
    const QString question = QStringLiteral("%1 has unsaved changes. Save them?").arg(m_session.RomFileName);
    switch (AskAboutUnsavedEdits(question)) {
    case UnsavedEditsAnswer::Save:
        try {
            return SaveRom();
        } catch (const std::exception &error) {
            // The edits stay, and so does everything else.
            ShowMessage(QString::fromUtf8(error.what()));
            return false;
        }
    case UnsavedEditsAnswer::Discard:
        m_session.Journal->discard();
        return true;
    case UnsavedEditsAnswer::Cancel:
        break;
    }
    return false;
}

void RomFileSession::chooseAndOpenRom()
{
    if (!unsavedEditsMayGo())
        return;
    if (OpenDialog1->exec() == QDialog::Accepted && !OpenDialog1->selectedFiles().isEmpty())
        OpenRom(QDir::toNativeSeparators(OpenDialog1->selectedFiles().constFirst()));
}

void RomFileSession::chooseRestorePoint()
{
    TFormRestorePoints dialog(m_session, &m_window);
    const std::optional<RestorePoint> chosen = dialog.Execute(restorePoints().list());
    if (!chosen)
        return;
    const QString text = QStringLiteral("Restore point of %1")
                             .arg(chosen->madeAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    m_session.Document->replaceImage(tamo::fs::readWholeFile(chosen->file), text, m_session.LevelNumber);
}

void RomFileSession::exportStagePicture()
{
    if (!m_session.StageShown())
        return;
    ExportDialog1->setDirectory(QFileInfo(m_session.RomFileName).absolutePath());
    ExportDialog1->selectFile(QStringLiteral("stage%1.png").arg(m_session.LevelNumber));
    if (ExportDialog1->exec() != QDialog::Accepted || ExportDialog1->selectedFiles().isEmpty())
        return;
    tamo::SavePng(m_session.stagePicture().picture(), ExportDialog1->selectedFiles().constFirst());
}

void RomFileSession::offerReload()
{
    OfferReload(*m_session.Document, m_session.LevelNumber);
}
