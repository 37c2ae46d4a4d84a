#include "outputs/OutputFolderCombo.h"

#include <QLineEdit>

OutputFolderCombo::OutputFolderCombo(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Qt keeps the current index while the user types; the program must know that
    // the text no longer is the picked entry.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { unpicked = true; });
    connect(this, &QComboBox::activated, this, [this] { unpicked = false; });
}

int OutputFolderCombo::ListIndex() const
{
    return unpicked ? -1 : currentIndex();
}

void OutputFolderCombo::setListIndex(int index)
{
    setCurrentIndex(index);
    unpicked = false;
}

void OutputFolderCombo::AddItem(const QString& text, int index)
{
    const bool nothingPicked = ListIndex() == -1;
    const QString editText = currentText();
    insertItem(index, text);
    if (nothingPicked) {
        // Qt picks the first entry added to an empty list by itself.
        setCurrentIndex(-1);
        setEditText(editText);
        unpicked = true;
    }
}

void OutputFolderCombo::RemoveItem(int index)
{
    const bool nothingPicked = ListIndex() == -1;
    const QString editText = currentText();
    removeItem(index);
    if (nothingPicked) {
        setEditText(editText);
        unpicked = true;
    }
}
