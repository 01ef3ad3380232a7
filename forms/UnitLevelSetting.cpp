#include "forms/UnitLevelSetting.h"

#include "core/level_settings.h"
#include "core/rom_error.h"
#include "core/typed_number.h"
#include "forms/control_builders.h"
#include "forms/error_report.h"
#include "qtcommon/shift_jis_text.h"
#include "forms/message_box.h"
#include "session/stage_session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

TFormLevelSetting *FormLevelSetting = nullptr;

namespace {

constexpr int ClientWidth = 525;
constexpr int ClientHeight = 385;
constexpr int OpenLeft = 588;
constexpr int OpenTop = 249;

constexpr int RowHeight = 26;
constexpr int FieldLeft = 104; // where the controls of a labelled row start

const char *const DarknessTips[8] = {
    "Flag A: bit 7 (0x80) of the stage's darkness byte",
    "Flag B: bit 6 (0x40) of the stage's darkness byte",
    "Flag C: bit 5 (0x20) of the stage's darkness byte",
    "Flag D: bit 4 (0x10) of the stage's darkness byte",
    "Flag E: bit 3 (0x08) of the stage's darkness byte",
    "Flag F: bit 2 (0x04) of the stage's darkness byte",
    "Flag G: bit 1 (0x02), darkness of the background (BG)",
    "Flag H: bit 0 (0x01), darkness of the foreground (FG)",
};

QGroupBox *addGroup(QWidget *parent, const char *name, const QString &title, const QRect &geometry)
{
    auto *group = new QGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    return group;
}

// A row's label stands a little lower than its control, level with the control's text.
void addRowLabel(QWidget *parent, const QString &text, int top)
{
    AddLabel(parent, text, {12, top + 3});
}

// One labelled row of a group: the label at the left, the edit box after it.
QLineEdit *addEditRow(QWidget *group, const char *name, const QString &label, int row)
{
    const int top = 20 + row * RowHeight;
    addRowLabel(group, label, top);
    return AddEdit(group, name, {FieldLeft, top, 120, 20});
}

// Text that does not read as a number leaves its field as it is.
std::optional<int32_t> editValue(const QLineEdit *edit)
{
    return tamo::parseTypedInteger(edit->text().toStdString());
}

} // namespace

TFormLevelSetting::TFormLevelSetting(StageSession &session)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_session(session)
{
    setObjectName(QStringLiteral("FormLevelSetting"));
    setWindowTitle(QStringLiteral("Level Settings"));
    setFixedSize(ClientWidth, ClientHeight);
    move(OpenLeft, OpenTop);
    createControls();
}

void TFormLevelSetting::createControls()
{
    QGroupBox *general = addGroup(this, "GroupBoxGeneral", {}, {8, 4, 509, 146});
    const struct
    {
        tamo::NameListSections sections;
        const char *name;
        const char *label;
        QComboBox **comboBox;
    } lists[] = {
        {tamo::FGNameList, "ComboBoxFG", "FG:", &ComboBoxFG},
        {tamo::BGNameList, "ComboBoxBG", "BG:", &ComboBoxBG},
        {tamo::MusicNameList, "ComboBoxMusic", "Music:", &ComboBoxMusic},
        {tamo::FunctionNameList, "ComboBoxFunc", "Special:", &ComboBoxFunc},
        {tamo::StartActionNameList, "ComboBoxStartAction", "Extra flags:", &ComboBoxStartAction},
    };
    for (size_t i = 0; i < m_lists.size(); ++i) {
        const int top = 12 + int(i) * RowHeight;
        addRowLabel(general, QString::fromLatin1(lists[i].label), top);
        auto *comboBox = new QComboBox(general);
        comboBox->setObjectName(QString::fromLatin1(lists[i].name));
        comboBox->setGeometry(FieldLeft, top, 393, 22);
        *lists[i].comboBox = comboBox;
        m_lists[i] = {lists[i].sections, comboBox, {}};
    }

    QGroupBox *startPoint = addGroup(this, "GroupBoxStartPoint", QStringLiteral("Start point"),
                                     {8, 154, 509, 70});
    EditStartX = addEditRow(startPoint, "EditStartX", QStringLiteral("Start X:"), 0);
    EditStartY = addEditRow(startPoint, "EditStartY", QStringLiteral("Start Y:"), 1);

    QGroupBox *darkness = addGroup(this, "GroupBoxDarknessBit", QStringLiteral("FG/BG"),
                                   {8, 228, 215, 48});
    for (int flag = 0; flag < 8; ++flag) {
        auto *check = new QCheckBox(darkness);
        check->setObjectName(QStringLiteral("CheckBoxDarkness") + QChar('A' + flag));
        check->setGeometry(12 + flag * 24, 20, 20, 20);
        check->setToolTip(QString::fromLatin1(DarknessTips[flag]));
        m_darknessChecks[flag] = check;
    }
    QGroupBox *bgColor = addGroup(this, "GroupBoxBGColor", QStringLiteral("Not used"),
                                  {231, 228, 139, 48});
    EditBGColor = AddEdit(bgColor, "EditBGColor", {12, 20, 115, 20});
    QGroupBox *bgDarkness = addGroup(this, "GroupBoxBGDarkness", QStringLiteral("Not used"),
                                     {378, 228, 139, 48});
    EditBGDarkness = AddEdit(bgDarkness, "EditBGDarkness", {12, 20, 115, 20});

    QGroupBox *tilemap = addGroup(this, "GroupBoxTilemap", QStringLiteral("Tile map range"),
                                  {8, 280, 509, 70});
    EditTilemapStart = addEditRow(tilemap, "EditTilemapStart", QStringLiteral("Tilemap start:"), 0);
    EditTilemapEnd = addEditRow(tilemap, "EditTilemapEnd", QStringLiteral("Tilemap end:"), 1);

    ButtonOK = new QPushButton(QStringLiteral("&OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setGeometry(8, 356, 89, 25);
    ButtonOK->setDefault(true);
    connect(ButtonOK, &QPushButton::clicked, this, [this] { ReportErrors([this] { ButtonOKClick(); }); });
    ButtonCancel = new QPushButton(QStringLiteral("Cancel(&C)"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setGeometry(105, 356, 89, 25);
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { ReportErrors([this] { ButtonCancelClick(); }); });
}

void TFormLevelSetting::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ReportErrors([this] { FormShow(); });
}

void TFormLevelSetting::LoadNameList(NameListControl &list)
{
    list.comboBox->clear();
    list.names = tamo::LoadNameList(m_session.OffsetsIni, list.sections);
    for (const tamo::NameEntry &entry : list.names)
        list.comboBox->addItem(tamo::fromShiftJis(entry.itemText));
}

void TFormLevelSetting::FormShow()
{
    // The lists are read once; only the FG list tells whether they were.
    if (ComboBoxFG->count() == 0) {
        for (NameListControl &list : m_lists)
            LoadNameList(list);
    }
    m_settingsRead = readSettingsIntoControls();
    ButtonOK->setEnabled(m_settingsRead);
    ComboBoxFG->setFocus();
    setResult(0);
}

bool TFormLevelSetting::readSettingsIntoControls()
{
    tamo::LevelSettings settings;
    try {
        settings = tamo::ReadLevelSettings(m_session.RomImage, m_session.OffsetTable, m_session.LevelNumber);
    } catch (const tamo::RomRangeError &error) {
        // The controls must not keep another stage's values: they are emptied and OK stays
        // off, so that nothing can be written.
        ShowMessage(QStringLiteral("The settings of this stage lie outside the ROM image and "
                                   "cannot be edited: %1")
                        .arg(QString::fromUtf8(error.what())));
        for (NameListControl &list : m_lists)
            list.comboBox->setCurrentIndex(-1);
        for (QLineEdit *edit : numberEdits())
            edit->clear();
        for (QCheckBox *check : m_darknessChecks)
            check->setChecked(false);
        return false;
    }
    const int32_t listed[] = {settings.FG, settings.BG, settings.Music, settings.Func,
                              settings.StartAction};
    for (size_t i = 0; i < m_lists.size(); ++i)
        m_lists[i].comboBox->setCurrentIndex(tamo::FindValueIndex(m_lists[i].names, listed[i]));
    const int32_t numbers[] = {settings.StartX, settings.StartY, settings.BGColor,
                               settings.BGDarkness, settings.TilemapStart, settings.TilemapEnd};
    const std::array<QLineEdit *, 6> edits = numberEdits();
    for (size_t i = 0; i < edits.size(); ++i)
        edits[i]->setText(QString::number(numbers[i]));
    for (int flag = 0; flag < 8; ++flag)
        m_darknessChecks[flag]->setChecked(settings.DarknessBits & tamo::DarknessFlagMask(flag));
    return true;
}

std::array<QLineEdit *, 6> TFormLevelSetting::numberEdits() const
{
    return {EditStartX, EditStartY, EditBGColor, EditBGDarkness, EditTilemapStart, EditTilemapEnd};
}

std::optional<int32_t> TFormLevelSetting::selectedValue(const NameListControl &list)
{
    const int index = list.comboBox->currentIndex();
    if (index < 0 || index >= int(list.names.size()))
        return std::nullopt;
    return list.names[index].value;
}

void TFormLevelSetting::ButtonOKClick()
{
    if (!m_settingsRead)
        return;
    tamo::LevelSettingsUpdate update;
    update.FG = selectedValue(m_lists[0]);
    update.BG = selectedValue(m_lists[1]);
    update.Music = selectedValue(m_lists[2]);
    update.Func = selectedValue(m_lists[3]);
    update.StartAction = selectedValue(m_lists[4]);
    update.StartX = editValue(EditStartX);
    update.StartY = editValue(EditStartY);
    int32_t darknessBits = 0;
    for (int flag = 0; flag < 8; ++flag) {
        if (m_darknessChecks[flag]->isChecked())
            darknessBits |= tamo::DarknessFlagMask(flag);
    }
    update.DarknessBits = darknessBits;
    update.BGColor = editValue(EditBGColor);
    update.BGDarkness = editValue(EditBGDarkness);
    update.TilemapStart = editValue(EditTilemapStart);
    update.TilemapEnd = editValue(EditTilemapEnd);
    try {
        const tamo::RomPatch patch
            = tamo::LevelSettingsPatch(m_session.RomImage, m_session.OffsetTable, m_session.LevelNumber, update);
        // One step for all fields; the stage is loaded again as the step is made.
        m_session.Document->edit(
            RomEdit{QStringLiteral("Stage settings"), EditScope::StageSettings, m_session.LevelNumber, patch});
    } catch (const tamo::RomRangeError &error) {
        ShowMessage(QStringLiteral("The settings lie outside the ROM image; nothing was "
                                   "written: %1")
                        .arg(QString::fromUtf8(error.what())));
        reject();
        return;
    }
    accept();
}

void TFormLevelSetting::ButtonCancelClick()
{
    reject();
}
