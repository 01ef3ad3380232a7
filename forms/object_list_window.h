#pragma once

#include "core/map_object.h"
#include "core/rom_image.h"
#include "document/rom_edit.h"
#include "forms/tool_window.h"

#include <QRect>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// What the sprite, camera and banana editors share: a list box with one line per record
// of one object list of the current stage, the list's address, an Update button that
// Enter presses, and controls that stay disabled until a ROM is open. The list box and
// the editor's copy of the records always hold the same number of entries, so no line
// ever stands for a record the list no longer has. Update makes one step of the edit
// history; the window follows every change of its list, also by undo and redo.
class ObjectListWindow : public ToolWindow
{
    Q_OBJECT

public:
    void RefreshList(bool Reset);
    // No records, no lines, empty boxes: while no stage is shown nothing can be written.
    void ClearList();
    void EnableEditing();
    void ButtonUpdateClick();

protected:
    struct ListKind
    {
        const char *name;     // "sprite list", for the messages
        const char *stepName; // "Sprite", for the steps of the history: "Sprite #3", and the count
        EditScope scope;
        std::optional<tamo::ObjectKind> markKind; // the records' marks on the map, if they have any
        int firstRecord;      // where record 0 lies, from the list's offset
        int recordSize;
    };

    ObjectListWindow(const ToolWindowPlacement &placement, QAction *toggleAction,
                     const char *caption, const ListKind &kind);

    // Throws RomRangeError when the list's pointer lies outside the image.
    virtual int64_t listOffset() const = 0;
    // Re-reads the editor's copy of the records from the list at offset; one line each.
    virtual QStringList readRecords(int64_t offset) = 0;
    virtual void clearRecords() = 0;
    virtual int recordCount() const = 0;
    // How many records the list at offset holds in the image now.
    virtual int countRecordsInImage(int64_t offset) const = 0;
    // The write of record `line` of the list at offset from the edit boxes.
    virtual tamo::RomPatch recordPatch(int64_t offset, int line) const = 0;

    // Applies the saved place, size and visibility, once the controls are made.
    void placeWindow();

    QListWidget *addListBox(const char *name, int width, std::function<void()> onClick);
    QLabel *addLabel(const QString &text, int left, int top);
    // An edit box that EnableEditing enables and a reset empties.
    QLineEdit *addEdit(const char *name, const QRect &geometry);
    void addUpdateButton(const QRect &geometry);
    void addAddressBox(const QRect &geometry, bool readOnly);
    void addEditingControl(QWidget *control);

    // The selected line, or -1 when none is.
    int selectedLine() const;
    // The edit box's number, or defaultValue when its text does not read as one.
    static int32_t editValue(const QLineEdit *edit, int32_t defaultValue);
    static const tamo::RomImage &romImage();

    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void FormResize();

private:
    void showLines(const QStringList &lines);
    bool listInImage(int64_t offset) const;
    void DocumentChanged(const RomChange &change);

    ListKind m_kind;
    void showCount();
    // The map selected one of this list's records: its line is selected and shown.
    void SelectionChanged();

    QListWidget *m_listBox = nullptr;
    QLabel *m_count = nullptr;
    std::function<void()> m_fillBoxes; // the list box's click: the boxes from the selected line
    bool m_updating = false; // while this window's Update writes its record
    QPushButton *m_buttonUpdate = nullptr;
    QLineEdit *m_editAddress = nullptr;
    std::vector<QWidget *> m_editingControls;
    std::vector<QLineEdit *> m_resetBoxes;
};

// An editor of a list of Record, read by ReadList: keeps the copy of the records that the
// lines and the edit boxes show.
template<typename Record, std::vector<Record> (*ReadList)(const tamo::RomImage &, int64_t)>
class ObjectListEditor : public ObjectListWindow
{
protected:
    using ObjectListWindow::ObjectListWindow;

    virtual QString lineText(int index, const Record &record) const = 0;

    QStringList readRecords(int64_t offset) override
    {
        m_records = ReadList(romImage(), offset);
        QStringList lines;
        for (int i = 0; i < int(m_records.size()); ++i)
            lines << lineText(i, m_records[i]);
        return lines;
    }
    void clearRecords() override { m_records.clear(); }
    int recordCount() const override { return int(m_records.size()); }
    int countRecordsInImage(int64_t offset) const override
    {
        return int(ReadList(romImage(), offset).size());
    }

    std::vector<Record> m_records;
};
