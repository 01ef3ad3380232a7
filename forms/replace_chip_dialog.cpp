#include "forms/replace_chip_dialog.h"

#include "core/chip_uses.h"
#include "core/integer_syntax.h"
#include "forms/message_box.h"
#include "session/stage_session.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr uint16_t HFlipBit = 0x4000;
constexpr uint16_t VFlipBit = 0x8000;
constexpr int ChipDigits = 3;

std::optional<int32_t> chipOf(const QLineEdit *edit)
{
    const std::optional<uint64_t> chip
        = tamo::parseDigitRun(edit->text().trimmed().toStdString(), 16, tamo::ChipBits);
    return chip ? std::optional<int32_t>(int32_t(*chip)) : std::nullopt;
}

template<typename Control>
Control *named(Control *control, const char *name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QString hexChip(int32_t chip)
{
    return QString::fromStdString(tamo::hexText(uint32_t(chip) & tamo::ChipBits, ChipDigits));
}

} // namespace

ReplaceChipDialog::ReplaceChipDialog(const StageSession &session, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ReplaceChipDialog"));
    setWindowTitle(QStringLiteral("Replace Chip"));
    auto *layout = new QVBoxLayout(this);

    auto *chips = new QFormLayout;
    m_find = named(new QLineEdit(hexChip(session.Pen.CurrentChip), this), "EditFindChip");
    m_replaceBy = named(new QLineEdit(this), "EditReplaceBy");
    for (QLineEdit *edit : {m_find, m_replaceBy})
        edit->setMaxLength(4);
    chips->addRow(QStringLiteral("Chip to &find:"), m_find);
    chips->addRow(QStringLiteral("&Replace by chip:"), m_replaceBy);
    chips->addRow(new QLabel(QStringLiteral("Chip numbers are hexadecimal, 0 to 3FFF."), this));
    layout->addLayout(chips);

    auto *flips = new QGroupBox(QStringLiteral("Flips"), this);
    auto *flipsLayout = new QVBoxLayout(flips);
    m_keepFlips = named(new QRadioButton(QStringLiteral("&Keep each cell's flips"), flips), "RadioKeepFlips");
    m_setFlips = named(new QRadioButton(QStringLiteral("&Set these flips in every cell:"), flips), "RadioSetFlips");
    m_hFlip = named(new QCheckBox(QStringLiteral("&Left-right"), flips), "CheckBoxHFlip");
    m_vFlip = named(new QCheckBox(QStringLiteral("&Top-bottom"), flips), "CheckBoxVFlip");
    m_keepFlips->setChecked(true);
    m_hFlip->setChecked(session.Pen.HFlip);
    m_vFlip->setChecked(session.Pen.VFlip);
    auto *flipBoxes = new QHBoxLayout;
    flipBoxes->addSpacing(20);
    flipBoxes->addWidget(m_hFlip);
    flipBoxes->addWidget(m_vFlip);
    flipsLayout->addWidget(m_keepFlips);
    flipsLayout->addWidget(m_setFlips);
    flipsLayout->addLayout(flipBoxes);
    layout->addWidget(flips);

    auto *where = new QGroupBox(QStringLiteral("Where"), this);
    auto *whereLayout = new QVBoxLayout(where);
    m_stageTileMap = named(new QRadioButton(QStringLiteral("The tile &map of stage %1").arg(session.LevelNumber), where),
                           "RadioStageTileMap");
    const QString shared = session.sharedTileMap();
    auto *sharing = named(new QLabel(shared.isEmpty() ? QStringLiteral("shown by no other stage") : shared, where),
                          "LabelSharedStages");
    sharing->setToolTip(session.sharedTileMapInFull());
    sharing->setIndent(20);
    m_everyTileMap = named(new QRadioButton(QStringLiteral("&Every tile map of the ROM"), where), "RadioEveryTileMap");
    // A stage that failed to load, or that is not drawn, has no tile map to change here.
    const bool stageHasMap = session.StageShown() && session.Stage.ScreenMode == 0;
    m_stageTileMap->setEnabled(stageHasMap);
    (stageHasMap ? m_stageTileMap : m_everyTileMap)->setChecked(true);
    whereLayout->addWidget(m_stageTileMap);
    whereLayout->addWidget(sharing);
    whereLayout->addWidget(m_everyTileMap);
    layout->addWidget(where);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ButtonOK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("ButtonCancel"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(m_buttons);

    for (QLineEdit *edit : {m_find, m_replaceBy})
        connect(edit, &QLineEdit::textChanged, this, &ReplaceChipDialog::followEntries);
    connect(m_setFlips, &QRadioButton::toggled, this, &ReplaceChipDialog::followEntries);
    followEntries();
    m_replaceBy->setFocus();
}

void ReplaceChipDialog::followEntries()
{
    m_hFlip->setEnabled(m_setFlips->isChecked());
    m_vFlip->setEnabled(m_setFlips->isChecked());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(request().has_value());
}

std::optional<ChipReplaceRequest> ReplaceChipDialog::request() const
{
    const std::optional<int32_t> from = chipOf(m_find);
    const std::optional<int32_t> to = chipOf(m_replaceBy);
    if (!from || !to)
        return std::nullopt;
    ChipReplaceRequest request;
    request.replacement.fromChip = *from;
    request.replacement.keepFlips = m_keepFlips->isChecked();
    request.replacement.toWord = uint16_t(*to);
    if (!request.replacement.keepFlips)
        request.replacement.toWord |= (m_hFlip->isChecked() ? HFlipBit : 0) | (m_vFlip->isChecked() ? VFlipBit : 0);
    request.area = m_stageTileMap->isChecked() ? ChipReplaceArea::StageTileMap : ChipReplaceArea::EveryTileMap;
    return request;
}

void AskAndReplaceChip(StageSession &session, QWidget *parent)
{
    ReplaceChipDialog dialog(session, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ChipReplaceRequest request = *dialog.request();
    if (ReplaceChip(session, request.replacement, request.area) == 0)
        ShowMessage(QStringLiteral("No cell to change: no cell holds chip %1, or each already holds what it would get.")
                        .arg(hexChip(request.replacement.fromChip)));
}
