#pragma once

#include "document/restore_points.h"

#include <QObject>
#include <QString>

class ImageExportDialog;
class QFileDialog;
class QWidget;
class StageSession;

namespace tamo {
class IniFile;
}

// What the editor does with the ROM file for its user: opens one (asking first about
// unsaved edits, offering the edits a crashed session left), saves it (keeping a restore
// point first, asking before writing over another program's changes), brings back a
// restore point, exports the stage picture, and loads the file again when another program
// has written it.
class RomFileSession : public QObject
{
    Q_OBJECT

public:
    RomFileSession(StageSession &session, QWidget &window);

    // The open dialog's folder and the number of restore points kept.
    void readSettings(const tamo::IniFile &ini);
    void writeSettings(tamo::IniFile &ini) const;

    // Reads the file whole into a new image; on failure the old image and stage stay.
    // Offers the unsaved edits an earlier session left for the file.
    void OpenRom(const QString &path);
    // Keeps the file's bytes as a restore point and writes the image over the file; asks
    // first where another program has written the file or put another in its place.
    // Returns false when the user chose not to write.
    bool SaveRom();
    // Asks what to do with unsaved edits before they would be lost; false to keep them.
    bool unsavedEditsMayGo();

    // The actions of the File menu that need a dialog.
    void chooseAndOpenRom();
    void chooseRestorePoint();
    void exportStagePicture();
    // When the window comes back: offers once per change to load a file another program
    // has written.
    void offerReload();

private:
    void createFileDialogs();
    RestorePoints restorePoints() const;

    StageSession &m_session;
    QWidget &m_window;
    // How many restore points are kept per ROM file; 0 keeps none.
    int m_restorePointsKept = 20;
    QFileDialog *OpenDialog1 = nullptr;
    ImageExportDialog *ExportDialog1 = nullptr;
};
