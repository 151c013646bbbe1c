#include "admin/GametypePopUpCell.h"

#include <QComboBox>

void GametypePopUpCell::setItems(const QStringList& gametypes)
{
    items = gametypes;
}

QWidget* GametypePopUpCell::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* popUp = new QComboBox(parent);
    popUp->setFrame(false);
    popUp->addItems(items);
    // Qt asks for editors through a const function; handing the pick back is not one.
    auto* cell = const_cast<GametypePopUpCell*>(this);
    connect(popUp, &QComboBox::activated, cell, [cell, popUp] { cell->commitPick(popUp); });
    return popUp;
}

void GametypePopUpCell::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* popUp = static_cast<QComboBox*>(editor);
    popUp->setCurrentIndex(int(items.indexOf(index.data(Qt::EditRole).toString())));
}

void GametypePopUpCell::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    const auto* popUp = static_cast<QComboBox*>(editor);
    if (popUp->currentIndex() >= 0)
        model->setData(index, popUp->currentText(), Qt::EditRole);
}

void GametypePopUpCell::commitPick(QWidget* popUp)
{
    emit commitData(popUp);
    emit closeEditor(popUp);
}
