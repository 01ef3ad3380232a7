#include "forms/object_list_window.h"

#include "core/list_lines.h"
#include "core/rom_error.h"
#include "core/typed_number.h"
#include "forms/control_builders.h"
#include "forms/error_report.h"
#include "forms/message_box.h"
#include "session/stage_session.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

namespace {

constexpr int LineHeight = 12;

// Every line of the list boxes is 12 pixels high, whatever the font asks for.
class FixedLineHeightDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(LineHeight);
        return size;
    }
};

QString hexOffset(int64_t offset)
{
    return QString::fromStdString(tamo::OffsetText(offset));
}

} // namespace

namespace object_list_editor {

QString fieldText(int32_t value, int codeDigits)
{
    return codeDigits > 0 ? QString::fromStdString(tamo::CodeText(value, codeDigits)) : QString::number(value);
}

int32_t editValue(const QLineEdit *edit, int32_t defaultValue)
{
    return tamo::parseTypedInteger(edit->text().toStdString()).value_or(defaultValue);
}

} // namespace object_list_editor

ObjectListWindow::ObjectListWindow(StageSession &session, const ObjectListKind &kind)
    : ToolWindow(kind.placement, kind.toggle)
    , m_session(session)
    , m_kind(kind)
{
    setWindowTitle(QString::fromLatin1(kind.caption));
    connect(&session, &StageSession::romOpened, this, &ObjectListWindow::EnableEditing);
    connect(&session, &StageSession::stageLoaded, this, [this] { ReportErrors([this] { RefreshList(true); }); });
    connect(&session, &StageSession::stageLoadFailed, this, &ObjectListWindow::ClearList);
    connect(&session, &StageSession::changed, this,
            [this](const RomChange &change) { ReportErrors([&] { DocumentChanged(change); }); });
    connect(session.Selection, &MapSelection::changed, this, [this] { ReportErrors([this] { SelectionChanged(); }); });
}

QListWidget *ObjectListWindow::addListBox(const ObjectListLayout &layout)
{
    m_listBox = new QListWidget(this);
    m_listBox->setObjectName(QString::fromLatin1(layout.listBox));
    m_listBox->setGeometry(0, 0, layout.listWidth, height());
    m_listBox->setItemDelegate(new FixedLineHeightDelegate(m_listBox));
    m_listBox->setUniformItemSizes(true);
    QFont font = m_listBox->font();
    font.setPixelSize(LineHeight - 1);
    m_listBox->setFont(font);
    // A click on the line already selected fills the edit boxes again, as does moving the
    // selection with the keys.
    const auto reportingClick = [this] {
        ReportErrors([this] {
            fillBoxes();
            // The map selects the line's record; the map then shows it.
            const int line = selectedLine();
            if (m_kind.markKind && line >= 0)
                m_session.Selection->select(tamo::MapObject{*m_kind.markKind, line});
        });
    };
    connect(m_listBox, &QListWidget::itemClicked, this, reportingClick);
    connect(m_listBox, &QListWidget::itemSelectionChanged, this, reportingClick);
    addEditingControl(m_listBox);
    return m_listBox;
}

void ObjectListWindow::addLabels(const ObjectListLayout &layout)
{
    for (const EditorLabel &label : layout.labels)
        AddLabel(this, QString::fromLatin1(label.text), label.at);
}

QLineEdit *ObjectListWindow::addEdit(const char *name, const QRect &geometry)
{
    QLineEdit *edit = AddEdit(this, name, geometry);
    addEditingControl(edit);
    m_resetBoxes.push_back(edit);
    return edit;
}

void ObjectListWindow::addUpdateButton(const ObjectListLayout &layout)
{
    const QRect &geometry = layout.updateButton;
    m_buttonUpdate = new QPushButton(QStringLiteral("Update(&U)"), this);
    m_buttonUpdate->setObjectName(QStringLiteral("ButtonUpdate"));
    m_buttonUpdate->setGeometry(geometry);
    m_buttonUpdate->setDefault(true);
    connect(m_buttonUpdate, &QPushButton::clicked, this, [this] { ReportErrors([this] { ButtonUpdateClick(); }); });
    addEditingControl(m_buttonUpdate);
    // Below it, how many records the list has: records are changed in place, never added
    // or removed.
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("LabelCount"));
    QFont font = m_count->font();
    font.setPixelSize(11);
    m_count->setFont(font);
    m_count->setGeometry(geometry.left(), geometry.bottom() + 2, 240, 13);
}

void ObjectListWindow::addAddressBox(const ObjectListLayout &layout)
{
    m_editAddress = addEdit("EditAddress", layout.addressBox);
    // The banana editor's box is editable, as its form has it, but never read back.
    m_editAddress->setReadOnly(layout.addressReadOnly);
    QPalette palette = m_editAddress->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    m_editAddress->setPalette(palette);
}

void ObjectListWindow::placeWindow()
{
    LoadPlacement(m_session.ApplicationIni);
    // A hidden window gets its resize event only when shown; the list box must fit now.
    FormResize();
}

void ObjectListWindow::addEditingControl(QWidget *control)
{
    control->setEnabled(false);
    m_editingControls.push_back(control);
}

void ObjectListWindow::EnableEditing()
{
    for (QWidget *control : m_editingControls)
        control->setEnabled(true);
}

int ObjectListWindow::selectedLine() const
{
    const QList<QListWidgetItem *> selected = m_listBox->selectedItems();
    if (selected.isEmpty())
        return -1;
    const int line = m_listBox->row(selected.first());
    return line < recordCount() ? line : -1;
}

const tamo::RomImage &ObjectListWindow::romImage() const
{
    return m_session.RomImage;
}

int64_t ObjectListWindow::listOffset() const
{
    return m_kind.offset(m_session.RomImage, m_session.OffsetTable, m_session.LevelNumber);
}

void ObjectListWindow::fillBoxes()
{
    const int line = selectedLine();
    if (line >= 0)
        showRecord(line);
}

void ObjectListWindow::RefreshList(bool Reset)
{
    if (Reset)
        ClearList();
    else
        clearRecords();
    QStringList lines;
    try {
        const int64_t offset = listOffset();
        m_editAddress->setText(hexOffset(offset));
        lines = readRecords(offset);
    } catch (const tamo::RomRangeError &) {
        // The list's pointer lies outside the image: there is no address and no line to
        // show; Update tells why when it is pressed.
        m_editAddress->clear();
    }
    showLines(lines);
    showCount();
}

void ObjectListWindow::ClearList()
{
    clearRecords();
    m_listBox->clear();
    for (QLineEdit *box : m_resetBoxes)
        box->clear();
    m_count->clear();
}

void ObjectListWindow::showCount()
{
    const int count = recordCount();
    const QString noun = QString::fromLatin1(m_kind.stepName).toLower() + (count == 1 ? "" : "s");
    m_count->setText(QStringLiteral("%1 %2, fixed by the ROM").arg(count).arg(noun));
}

void ObjectListWindow::SelectionChanged()
{
    const std::optional<tamo::MapObject> &object = m_session.Selection->object();
    if (!object || object->kind != m_kind.markKind || object->index >= m_listBox->count()
        || selectedLine() == object->index)
        return;
    if (!isVisible())
        toggleShown();
    QListWidgetItem *item = m_listBox->item(object->index);
    m_listBox->setCurrentItem(item);
    m_listBox->scrollToItem(item);
}

void ObjectListWindow::DocumentChanged(const RomChange &change)
{
    if (change.scope != m_kind.scope || !m_session.StageShown())
        return;
    RefreshList(false);
    // An Update keeps the typed texts; undo, redo and a move on the map show what the
    // record holds now.
    if (!m_updating)
        fillBoxes();
}

void ObjectListWindow::showLines(const QStringList &lines)
{
    // Lines past the list's end have no record behind them any more: they go, and with
    // them the selection when it stood on one of them.
    if (m_listBox->count() > lines.size()) {
        const QList<QListWidgetItem *> selected = m_listBox->selectedItems();
        if (!selected.isEmpty() && m_listBox->row(selected.first()) >= lines.size()) {
            m_listBox->clearSelection();
            m_listBox->setCurrentItem(nullptr);
        }
        while (m_listBox->count() > lines.size())
            delete m_listBox->takeItem(m_listBox->count() - 1);
    }
    for (int i = 0; i < lines.size(); ++i) {
        if (i < m_listBox->count())
            m_listBox->item(i)->setText(lines[i]); // the selection stays
        else
            m_listBox->addItem(lines[i]);
    }
}

bool ObjectListWindow::listInImage(int64_t offset) const
{
    return romImage().contains(offset + m_kind.firstRecord, m_kind.recordSize);
}

void ObjectListWindow::ButtonUpdateClick()
{
    const int line = selectedLine();
    const QString listName = QString::fromLatin1(m_kind.name);
    try {
        const int64_t offset = listOffset();
        if (!listInImage(offset)) {
            ShowMessage(QStringLiteral("The %1 at %2 lies outside the ROM image (%3 bytes); "
                                       "nothing was written.")
                            .arg(listName, hexOffset(offset))
                            .arg(romImage().size()));
            return;
        }
        if (line < 0)
            return;
        if (line >= countRecordsInImage(offset)) {
            // The image changed under the list since it was read.
            ShowMessage(QStringLiteral("Line %1 has no record in the %2 any more; nothing was "
                                       "written and the list was read again.")
                            .arg(line)
                            .arg(listName));
            RefreshList(false);
            return;
        }
        const QString step = QStringLiteral("%1 #%2").arg(QLatin1String(m_kind.stepName)).arg(line);
        const QScopedValueRollback updating(m_updating, true);
        m_session.Document->edit(RomEdit{step, m_kind.scope, m_session.LevelNumber, recordPatch(offset, line)});
    } catch (const tamo::RomRangeError &error) {
        ShowMessage(QStringLiteral("The %1 cannot be written, nothing was changed: %2")
                        .arg(listName, QString::fromUtf8(error.what())));
    }
}

void ObjectListWindow::resizeEvent(QResizeEvent *event)
{
    ToolWindow::resizeEvent(event);
    FormResize();
}

void ObjectListWindow::FormResize()
{
    if (m_listBox)
        m_listBox->resize(m_listBox->width(), height());
}

void ObjectListWindow::keyPressEvent(QKeyEvent *event)
{
    // Update is the window's default button: Enter presses it from any control that
    // leaves the key to the window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_buttonUpdate->click();
        return;
    }
    ToolWindow::keyPressEvent(event);
}
