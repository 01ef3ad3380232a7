#include "forms/UnitRestorePoints.h"

#include "forms/stage_list_text.h"
#include "session/stage_session.h"

#include "core/file_system.h"
#include "core/rom_error.h"
#include "core/stage_extent.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int clientWidth = 640;
constexpr int clientHeight = 320;

// The columns of one restore point: when it was made, its size, and how it differs from
// the image in memory.
QStringList rowOf(const RestorePoint &point, const tamo::StageExtents &image, size_t imageSize)
{
    const QStringList first{point.madeAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                            QString::number(point.size)};
    std::vector<uint8_t> bytes;
    try {
        bytes = tamo::fs::readWholeFile(point.file);
    } catch (const tamo::RomError &) {
        return first + QStringList{QStringLiteral("cannot be read"), QString()};
    }
    // Only as much as the image holds is restored.
    if (bytes.size() > imageSize)
        bytes.resize(imageSize);
    const tamo::ImageDifference difference = image.compare(bytes);
    return first + QStringList{StageListText(difference.stages), QString::number(difference.bytes)};
}

} // namespace

TFormRestorePoints::TFormRestorePoints(StageSession &session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("FormRestorePoints"));
    setWindowTitle(QStringLiteral("Restore Points"));
    setModal(true);
    resize(clientWidth, clientHeight);

    ListViewRestorePoints = new QTreeWidget(this);
    ListViewRestorePoints->setObjectName(QStringLiteral("ListViewRestorePoints"));
    ListViewRestorePoints->setRootIsDecorated(false);
    ListViewRestorePoints->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewRestorePoints->setHeaderLabels({QStringLiteral("Date and time"), QStringLiteral("Size"),
                                            QStringLiteral("Stages that differ"),
                                            QStringLiteral("Bytes that differ")});

    auto *buttons = new QDialogButtonBox(this);
    ButtonRestore = buttons->addButton(QStringLiteral("Restore(&R)"), QDialogButtonBox::AcceptRole);
    ButtonRestore->setObjectName(QStringLiteral("ButtonRestore"));
    ButtonRestore->setDefault(true);
    ButtonCancel = buttons->addButton(QStringLiteral("Cancel(&C)"), QDialogButtonBox::RejectRole);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ListViewRestorePoints);
    layout->addWidget(buttons);

    connect(ButtonRestore, &QPushButton::clicked, this, &TFormRestorePoints::ButtonRestoreClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TFormRestorePoints::ButtonCancelClick);
    connect(ListViewRestorePoints, &QTreeWidget::itemDoubleClicked, this, &TFormRestorePoints::ButtonRestoreClick);
    connect(ListViewRestorePoints, &QTreeWidget::itemSelectionChanged, this,
            [this] { ButtonRestore->setEnabled(!ListViewRestorePoints->selectedItems().isEmpty()); });
}

std::optional<RestorePoint> TFormRestorePoints::Execute(const std::vector<RestorePoint> &points)
{
    m_points = points;
    m_result.reset();
    fillList();
    exec();
    return m_result;
}

void TFormRestorePoints::fillList()
{
    ListViewRestorePoints->clear();
    const tamo::StageExtents image({m_session.RomImage, m_session.OffsetTable, m_session.OffsetsIni});
    for (const RestorePoint &point : m_points)
        ListViewRestorePoints->addTopLevelItem(new QTreeWidgetItem(rowOf(point, image, m_session.RomImage.bytes().size())));
    ListViewRestorePoints->header()->resizeSections(QHeaderView::ResizeToContents);
    ListViewRestorePoints->setCurrentItem(ListViewRestorePoints->topLevelItem(0));
    ButtonRestore->setEnabled(!m_points.empty());
}

void TFormRestorePoints::ButtonRestoreClick()
{
    const QList<QTreeWidgetItem *> selected = ListViewRestorePoints->selectedItems();
    if (selected.isEmpty())
        return;
    m_result = m_points.at(size_t(ListViewRestorePoints->indexOfTopLevelItem(selected.first())));
    accept();
}

void TFormRestorePoints::ButtonCancelClick()
{
    m_result.reset();
    reject();
}
