#pragma once

#include "app/ImageList.h"
#include "platform/Platform.h"
#include "run/ConversionRun.h"

#include <QMainWindow>
#include <cstdint>
#include <optional>

class OutputFolderCombo;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// The program's one window. It owns every control; the controls hold the working
// data (sources, documents, format choice, output folders). Each button and menu
// item runs one `<control>_<event>` handler to completion.
class form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit form1(const Platform& platform, QWidget* parent = nullptr);
    ~form1() override;

    const Platform& platform() const { return desktop; }
    // 11 shows the wait pointer, 0 the default one.
    void setMousePointer(int16_t pointer);

    QString HelpFile;

    // Toolbar
    QToolButton* Command5 = nullptr; // Add Folder
    QToolButton* Command1 = nullptr; // Add Word
    QToolButton* Command2 = nullptr; // Remove File
    QToolButton* Command6 = nullptr; // Convert
    QToolButton* Command8 = nullptr; // Help
    QToolButton* Command7 = nullptr; // HomePage
    QToolButton* Command9 = nullptr; // Exit
    // Sources and their documents
    QTreeWidget* ListView1 = nullptr;
    QToolButton* Command3 = nullptr; // move up
    QToolButton* Command4 = nullptr; // move down
    QTreeWidget* ListView2 = nullptr;
    ImageList ImageList1;
    // Format, extension, output folder, progress
    QLabel* Label2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label3 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QLabel* Label1 = nullptr;
    OutputFolderCombo* Combo2 = nullptr;
    QPushButton* Command10 = nullptr; // Browse
    QPushButton* Command11 = nullptr; // View
    QProgressBar* ProgressBar1 = nullptr;
    // Menus
    QMenu* EE = nullptr;
    QAction* AddFolder = nullptr;
    QAction* AddExcel = nullptr;
    QMenu* FF = nullptr;
    QAction* RemoveItem = nullptr;
    QAction* RemoveAll = nullptr;
    QAction* Removeoutput = nullptr;
    QAction* RemoveAllOutput = nullptr;
    QMenu* Actions = nullptr;
    QAction* Separate = nullptr;
    QAction* Settings = nullptr;
    QMenu* Help = nullptr;
    QAction* Help1 = nullptr;
    QAction* HomePage = nullptr;
    QAction* About = nullptr;

    // Start-up and shut-down
    void Form_Load();
    void Form_Unload();

    // Sources and documents
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void ListView1_ItemClick(QTreeWidgetItem* item);
    void ListView1_OLEDragDrop(const QStringList& paths);
    // Files and folders named when the program starts; returns those left out.
    QStringList AddStartSources(const QStringList& paths);
    void RemoveAll_Click();

    // Format choice and conversion
    void Combo1_Click();
    void Command6_Click();
    // The output folder a run writes to (ending in '/'), or nothing after telling why
    // it cannot; a typed folder is created.
    std::optional<QString> outputFolderForRun();
    // The checked documents into `outputFolder` in the chosen format; `rows` gets the
    // document list's row of each.
    RunPlan planCheckedDocuments(const QString& outputFolder, QList<int>& rows) const;

    // Output folders
    void Command10_Click();
    void Command11_Click();
    void Removeoutput_Click();
    void RemoveAllOutput_Click();

    // Help, home page, exit, settings, about
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Settings_Click();
    void About_Click();

    // Menu items that stand for a button
    void AddFolder_Click();
    void AddExcel_Click();
    void RemoveItem_Click();
    void Separate_Click();
    void Help1_Click();
    void HomePage_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void createMenus();
    void setTabOrder();
    void connectHandlers();

    Platform desktop;
    // Why a list's state file could not be read at start-up ("" when it could).
    // Such a file may hold what the user wants kept, so it is never overwritten.
    QString sourcesUnreadable;
    QString outputsUnreadable;
    bool unloaded = false;
    // A run holds the window until its last document; closing waits for it.
    bool converting = false;
};
