#include "forms/stage_list_text.h"

#include <QStringList>

namespace {

// A change far from the image touches every stage; the first ones say enough.
constexpr size_t stagesListed = 12;

} // namespace

QString StageListText(const std::vector<int32_t> &stages)
{
    if (stages.empty())
        return QStringLiteral("none");
    QStringList numbers;
    for (size_t i = 0; i < stages.size() && i < stagesListed; ++i)
        numbers << QString::number(stages[i]);
    QString text = numbers.join(QStringLiteral(", "));
    if (stages.size() > stagesListed)
        text += QStringLiteral(", ... (%1 stages)").arg(stages.size());
    return text;
}
