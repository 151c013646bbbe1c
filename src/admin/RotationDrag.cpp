#include "admin/RotationDrag.h"

#include <QMimeData>
#include <QStringList>

const QString RotationDrag::mimeType = QStringLiteral("MapAndGametypePBoardType");

RotationDrag::RotationDrag(const MapForRotation& entry, int sourceRow)
    : m_entry(entry), m_sourceRow(sourceRow)
{
}

QString RotationDrag::text() const
{
    return QStringLiteral("%1 %2 %3").arg(m_entry.mapName(), m_entry.gametype(), QString::number(m_sourceRow));
}

std::optional<RotationDrag> RotationDrag::fromText(const QString& text)
{
    const QStringList pieces = text.split(u' ');
    bool isNumber = false;
    const int sourceRow = pieces.size() == 3 ? pieces.at(2).toInt(&isNumber) : 0;
    if (!isNumber)
        return std::nullopt;
    return RotationDrag({pieces.at(0), pieces.at(1)}, sourceRow);
}

QMimeData* RotationDrag::mimeData() const
{
    auto* data = new QMimeData;
    data->setData(mimeType, text().toUtf8());
    return data;
}

std::optional<RotationDrag> RotationDrag::fromMimeData(const QMimeData& data)
{
    if (!data.hasFormat(mimeType))
        return std::nullopt;
    return fromText(QString::fromUtf8(data.data(mimeType)));
}

bool RotationDrag::dropInto(QList<MapForRotation>& rotation, int row, bool move) const
{
    if (move && (m_sourceRow < 0 || m_sourceRow >= rotation.size()))
        return false;
    const int insertedAt = row < 0 || row > rotation.size() ? int(rotation.size()) : row;
    rotation.insert(insertedAt, m_entry);
    if (move)
        rotation.removeAt(m_sourceRow < insertedAt ? m_sourceRow : m_sourceRow + 1);
    return true;
}
