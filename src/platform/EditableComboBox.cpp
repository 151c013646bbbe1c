#include "platform/EditableComboBox.h"

#include <QComboBox>

void EditableComboBox::keepTypedText(QComboBox& box)
{
    box.setCompleter(nullptr);
    box.setInsertPolicy(QComboBox::NoInsert);
}
