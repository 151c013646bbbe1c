#pragma once

class QTableView;

// The column widths of a table whose rows come and go by thousands: the columns fit
// the rows in view the first time the table has rows, and from then on keep their
// widths, whatever later rows hold, so that the user's widths stay and the window
// never widens itself. Columns whose widths a run remembered are not fitted again.
namespace ColumnFit {

// The name of the header's property that says its widths were remembered.
inline constexpr const char* rememberedWidths = "rememberedWidths";

// Fits the table's columns once; `stretched` takes the width that the others leave.
void fitToFirstRows(QTableView& table, int stretched);

}  // namespace ColumnFit
