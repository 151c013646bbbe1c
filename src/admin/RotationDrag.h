#pragma once

#include "admin/MapForRotation.h"

#include <QList>
#include <QString>

#include <optional>

class QMimeData;

// A rotation entry dragged from one of the editor's tables: the map, the gametype and
// the row it leaves in the rotation (-1 when it comes from the available maps).
// It travels as the private drag type "MapAndGametypePBoardType", whose value is the
// three written one after the other, separated by single spaces.
class RotationDrag {
public:
    static const QString mimeType;
    static constexpr int fromAvailableMaps = -1;

    RotationDrag(const MapForRotation& entry, int sourceRow);

    QString text() const;
    // The drag read back from its text, or nothing when the text is not three pieces
    // with a row number last.
    static std::optional<RotationDrag> fromText(const QString& text);

    // The drag's data, its text under the private type; the caller owns it.
    QMimeData* mimeData() const;
    // The drag read back from dropped data, or nothing when the data lacks the
    // private type or its text is damaged.
    static std::optional<RotationDrag> fromMimeData(const QMimeData& data);

    // Puts the entry into the rotation above `row` (at the end when row is negative or
    // past the end). A move then takes the dragged entry out of its old place, which
    // the insertion shifted one down when it lay at or below the new one. False, with
    // the rotation unchanged, when a move names a row the rotation does not have.
    bool dropInto(QList<MapForRotation>& rotation, int row, bool move) const;

    const MapForRotation& entry() const { return m_entry; }
    int sourceRow() const { return m_sourceRow; }

private:
    MapForRotation m_entry;
    int m_sourceRow;
};
