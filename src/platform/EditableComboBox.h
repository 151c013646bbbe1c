#pragma once

class QComboBox;

// The text of an editable combo box is what the user typed. By default Qt gives such
// a box a completer that matches its entries without regard to case: it completes the
// text while the user types ("Nig" shows "Night"), and on Enter or when the box loses
// the focus it puts an entry that differs only in case ("Night") in place of the text
// typed ("night"). And Enter adds the text to the entries. Names that are matched
// exactly, and commands sent as typed, need neither.
class EditableComboBox {
public:
    // Drops the completer and keeps Enter from adding entries: the entries stay
    // a list to pick from, and the text stays as typed.
    static void keepTypedText(QComboBox& box);
};
