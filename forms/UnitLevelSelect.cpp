#include "forms/UnitLevelSelect.h"

#include "qtcommon/shift_jis_text.h"
#include "session/stage_session.h"

#include "core/name_lists.h"
#include "core/stage.h"
#include "core/typed_number.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

TFormLevelSelect *FormLevelSelect = nullptr;

namespace {

constexpr int clientWidth = 450;
constexpr int clientHeight = 317;
constexpr int listHeight = 260;
constexpr int margin = 4;
constexpr int buttonWidth = 90;
constexpr int buttonHeight = 24;

} // namespace

TFormLevelSelect::TFormLevelSelect(StageSession &session)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , m_session(session)
{
    setObjectName(QStringLiteral("FormLevelSelect"));
    setWindowTitle(QStringLiteral("Level Select"));
    setModal(true);
    setFixedSize(clientWidth, clientHeight);
    move(192, 114);

    ListBoxLevels = new QListWidget(this);
    ListBoxLevels->setObjectName(QStringLiteral("ListBoxLevels"));
    ListBoxLevels->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBoxLevels->setGeometry(0, 0, clientWidth, listHeight);

    EditLevelNo = new QLineEdit(this);
    EditLevelNo->setObjectName(QStringLiteral("EditLevelNo"));
    EditLevelNo->setGeometry(0, listHeight + margin, clientWidth, buttonHeight - 2);

    const int buttonTop = clientHeight - buttonHeight - margin;
    ButtonOK = new QPushButton(QStringLiteral("&OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setGeometry(clientWidth / 2 - buttonWidth - 2 * margin, buttonTop, buttonWidth,
                          buttonHeight);
    ButtonOK->setDefault(true);

    ButtonCancel = new QPushButton(QStringLiteral("Cancel(&C)"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setGeometry(clientWidth / 2 + 2 * margin, buttonTop, buttonWidth,
                              buttonHeight);

    setTabOrder(ListBoxLevels, EditLevelNo);
    setTabOrder(EditLevelNo, ButtonOK);
    setTabOrder(ButtonOK, ButtonCancel);

    // A click on the item already selected puts its number into the field again, over
    // whatever was typed there; so does moving the selection with the keys.
    connect(ListBoxLevels, &QListWidget::itemClicked, this, &TFormLevelSelect::ListBoxLevelsClick);
    connect(ListBoxLevels, &QListWidget::itemSelectionChanged, this,
            &TFormLevelSelect::ListBoxLevelsClick);
    connect(ListBoxLevels, &QListWidget::itemDoubleClicked, this,
            &TFormLevelSelect::ListBoxLevelsDblClick);
    connect(ButtonOK, &QPushButton::clicked, this, &TFormLevelSelect::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TFormLevelSelect::ButtonCancelClick);
}

int TFormLevelSelect::Execute()
{
    // Esc and the close box reject the dialog and leave the -1 of FormShow.
    exec();
    return m_result;
}

void TFormLevelSelect::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFormLevelSelect::FormShow()
{
    m_result = -1;
    {
        // Selecting the current stage here is not the user's click.
        const QSignalBlocker blocker(ListBoxLevels);
        fillLevelList();
        const int level = m_session.LevelNumber;
        if (level >= 0 && level < tamo::LevelCount) {
            ListBoxLevels->setCurrentRow(level);
            ListBoxLevels->scrollToItem(ListBoxLevels->item(level), QAbstractItemView::PositionAtCenter);
        } else {
            ListBoxLevels->setCurrentRow(-1);
            ListBoxLevels->clearSelection();
        }
    }
    EditLevelNo->setText(QString::number(m_session.LevelNumber));
    ListBoxLevels->setFocus();
}

void TFormLevelSelect::fillLevelList()
{
    ListBoxLevels->clear();
    for (int level = 0; level < tamo::LevelCount; ++level) {
        ListBoxLevels->addItem(
            tamo::fromShiftJis(tamo::LevelItemText(m_session.OffsetsIni, level)));
    }
}

void TFormLevelSelect::ListBoxLevelsClick()
{
    const QList<QListWidgetItem *> selected = ListBoxLevels->selectedItems();
    const int index = selected.isEmpty() ? -1 : ListBoxLevels->row(selected.first());
    EditLevelNo->setText(QString::number(index));
}

void TFormLevelSelect::ListBoxLevelsDblClick()
{
    ListBoxLevelsClick();
    ButtonOKClick();
}

void TFormLevelSelect::ButtonOKClick()
{
    const int level = tamo::parseTypedInteger(EditLevelNo->text().toStdString()).value_or(-1);
    m_result = level >= 0 && level < tamo::LevelCount ? level : -1;
    accept();
}

void TFormLevelSelect::ButtonCancelClick()
{
    m_result = -1;
    reject();
}
