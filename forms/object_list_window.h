#pragma once

#include "core/map_object.h"
#include "core/rom_image.h"
#include "document/rom_edit.h"
#include "forms/tool_window.h"

#include <QLineEdit>
#include <QRect>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class StageSession;

namespace tamo {
struct OffsetTable;
}

// A caption of an editor at its place.
struct EditorLabel
{
    const char *text;
    QPoint at;
};

// The object list an editor shows, and the window that shows it.
struct ObjectListKind
{
    ToolWindowPlacement placement;
    ActionDefinition toggle;
    const char *caption;
    const char *name;     // "sprite list", for the messages
    const char *stepName; // "Sprite", for the steps of the history: "Sprite #3", and the count
    EditScope scope;
    std::optional<tamo::ObjectKind> markKind; // the records' marks on the map, if they have any
    int firstRecord;      // where record 0 lies, from the list's offset
    int recordSize;
    // Where the stage's list lies, worked out afresh for every read and write; throws
    // RomRangeError when its pointer lies outside the image.
    int32_t (*offset)(const tamo::RomImage &rom, const tamo::OffsetTable &offsets, int32_t level);
};

// How the window is laid out: the list box, the captions, the Update button and the
// address box; the edit boxes of the fields come with the editor.
struct ObjectListLayout
{
    const char *listBox;
    int listWidth;
    std::vector<EditorLabel> labels;
    QRect updateButton;
    QRect addressBox;
    bool addressReadOnly;
};

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
    ObjectListWindow(StageSession &session, const ObjectListKind &kind);

    // Re-reads the editor's copy of the records from the list at offset; one line each.
    virtual QStringList readRecords(int64_t offset) = 0;
    virtual void clearRecords() = 0;
    virtual int recordCount() const = 0;
    // How many records the list at offset holds in the image now.
    virtual int countRecordsInImage(int64_t offset) const = 0;
    // The write of record `line` of the list at offset from the edit boxes.
    virtual tamo::RomPatch recordPatch(int64_t offset, int line) const = 0;
    // The list box's click: the edit boxes show the record of the line.
    virtual void showRecord(int line) = 0;

    QListWidget *addListBox(const ObjectListLayout &layout);
    void addLabels(const ObjectListLayout &layout);
    // An edit box that EnableEditing enables and a reset empties.
    QLineEdit *addEdit(const char *name, const QRect &geometry);
    void addUpdateButton(const ObjectListLayout &layout);
    void addAddressBox(const ObjectListLayout &layout);
    void addEditingControl(QWidget *control);
    // Applies the saved place, size and visibility, once the controls are made.
    void placeWindow();

    // The selected line, or -1 when none is.
    int selectedLine() const;
    const tamo::RomImage &romImage() const;
    StageSession &session() const { return m_session; }

    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void FormResize();

private:
    int64_t listOffset() const;
    void fillBoxes();
    void showLines(const QStringList &lines);
    bool listInImage(int64_t offset) const;
    void DocumentChanged(const RomChange &change);
    void showCount();
    // The map selected one of this list's records: its line is selected and shown.
    void SelectionChanged();

    StageSession &m_session;
    ObjectListKind m_kind;
    QListWidget *m_listBox = nullptr;
    QLabel *m_count = nullptr;
    bool m_updating = false; // while this window's Update writes its record
    QPushButton *m_buttonUpdate = nullptr;
    QLineEdit *m_editAddress = nullptr;
    std::vector<QWidget *> m_editingControls;
    std::vector<QLineEdit *> m_resetBoxes;
};

// One field of a record and its edit box: the field shown in decimal, or as a code of
// codeDigits hexadecimal digits after "0x"; text that does not read as a number stands
// for defaultValue.
template<typename Record>
struct RecordField
{
    const char *name;
    QRect geometry;
    int32_t Record::*member;
    int32_t defaultValue;
    int codeDigits;
};

// An editor of the records of one list: the functions that read its records, make the
// patch of one record and give a record's line, and the fields of a record with their
// edit boxes.
template<typename Record>
struct RecordList
{
    std::vector<Record> (*read)(const tamo::RomImage &rom, int64_t offset);
    tamo::RomPatch (*patch)(int64_t offset, int index, const Record &record);
    std::string (*line)(int index, const Record &record);
    std::vector<RecordField<Record>> fields;
};

// Helpers of the template below, apart so that they need no template.
namespace object_list_editor {
QString fieldText(int32_t value, int codeDigits);
int32_t editValue(const QLineEdit *edit, int32_t defaultValue);
} // namespace object_list_editor

// An editor of a list of Record: keeps the copy of the records that the lines and the
// edit boxes show.
template<typename Record>
class ObjectListEditor : public ObjectListWindow
{
protected:
    ObjectListEditor(StageSession &session, const ObjectListKind &kind, RecordList<Record> records)
        : ObjectListWindow(session, kind)
        , m_list(std::move(records))
    {
    }

    // The edit boxes of the fields, in the order of the fields.
    void addFields()
    {
        for (const RecordField<Record> &field : m_list.fields)
            m_edits.push_back(addEdit(field.name, field.geometry));
    }

    // The standard parts in their tab order: the list box, the fields, Update and the address.
    void build(const ObjectListLayout &layout)
    {
        addListBox(layout);
        addLabels(layout);
        addFields();
        addUpdateButton(layout);
        addAddressBox(layout);
        placeWindow();
    }

    virtual QString lineText(int index, const Record &record) const
    {
        return QString::fromStdString(m_list.line(index, record));
    }

    QStringList readRecords(int64_t offset) override
    {
        m_records = m_list.read(romImage(), offset);
        QStringList lines;
        for (int i = 0; i < int(m_records.size()); ++i)
            lines << lineText(i, m_records[i]);
        return lines;
    }
    void clearRecords() override { m_records.clear(); }
    int recordCount() const override { return int(m_records.size()); }
    int countRecordsInImage(int64_t offset) const override { return int(m_list.read(romImage(), offset).size()); }

    tamo::RomPatch recordPatch(int64_t offset, int line) const override
    {
        Record record;
        for (size_t i = 0; i < m_edits.size(); ++i) {
            const RecordField<Record> &field = m_list.fields[i];
            record.*field.member = object_list_editor::editValue(m_edits[i], field.defaultValue);
        }
        return m_list.patch(offset, line, record);
    }

    void showRecord(int line) override
    {
        const Record &record = m_records[size_t(line)];
        for (size_t i = 0; i < m_edits.size(); ++i) {
            const RecordField<Record> &field = m_list.fields[i];
            m_edits[i]->setText(object_list_editor::fieldText(record.*field.member, field.codeDigits));
        }
    }

    // The edit box of the field at index, made by addFields.
    QLineEdit *fieldEdit(size_t index) const { return m_edits.at(index); }

    std::vector<Record> m_records;

private:
    RecordList<Record> m_list;
    std::vector<QLineEdit *> m_edits;
};
