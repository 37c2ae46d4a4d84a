#include "app/form1.h"

// Add Word
void form1::Command1_Click() {}
// Remove the selected source
void form1::Command2_Click() {}
// Move the selected source up
void form1::Command3_Click() {}
// Move the selected source down
void form1::Command4_Click() {}
// Add Folder
void form1::Command5_Click() {}
// Show the clicked source's documents
void form1::ListView1_ItemClick(QTreeWidgetItem*) {}
// Files and folders dropped on the source list
void form1::ListView1_OLEDragDrop(const QStringList&) {}
// Empty both lists
void form1::RemoveAll_Click() {}
