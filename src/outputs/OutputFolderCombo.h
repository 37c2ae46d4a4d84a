#pragma once

#include <QComboBox>

// The editable drop-down of output folders. Its edit text is the next run's output
// folder; ListIndex is the picked entry, or -1 when the text was typed or nothing
// is picked.
class OutputFolderCombo : public QComboBox {
    Q_OBJECT
public:
    explicit OutputFolderCombo(QWidget* parent = nullptr);

    int ListCount() const { return count(); }
    int ListIndex() const;
    // Selects the entry at `index` (-1 for none) and shows its text in the edit field.
    void setListIndex(int index);
    QString Text() const { return currentText(); }
    // Inserts without changing what is picked or typed.
    void AddItem(const QString& text, int index);
    void RemoveItem(int index);

private:
    bool unpicked = false;
};
