#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

// Edits the gametype column of the rotation table with a borderless pop-up of the
// offered gametypes; the entry takes the title picked.
class GametypePopUpCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setItems(const QStringList& gametypes);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    // The pick is the edit: it is handed to the model and the pop-up closes.
    void commitPick(QWidget* popUp);

    QStringList items;
};
