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
// item runs one handler to completion.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    const Platform& platform() const { return desktop; }
    void setMousePointer(MousePointer::Shape pointer);

    QString helpFile;

    // Toolbar
    QToolButton* addFolderButton = nullptr;
    QToolButton* addWordButton = nullptr;
    QToolButton* removeFileButton = nullptr;
    QToolButton* convertButton = nullptr;
    QToolButton* helpButton = nullptr;
    QToolButton* homePageButton = nullptr;
    QToolButton* exitButton = nullptr;
    // Sources and their documents
    QTreeWidget* sourceList = nullptr;
    QToolButton* moveUpButton = nullptr;
    QToolButton* moveDownButton = nullptr;
    QTreeWidget* documentList = nullptr;
    ImageList icons;
    // Format, extension, output folder, progress
    QLabel* formatLabel = nullptr;
    QComboBox* formatChoice = nullptr;
    QLabel* extensionLabel = nullptr;
    QRadioButton* shortExtensionOption = nullptr;
    QRadioButton* longExtensionOption = nullptr;
    QLabel* outputFolderLabel = nullptr;
    OutputFolderCombo* outputFolderChoice = nullptr;
    QPushButton* browseButton = nullptr;
    QPushButton* viewButton = nullptr;
    QProgressBar* progressBar = nullptr;
    // Menus
    QMenu* fileMenu = nullptr;
    QAction* addFolderItem = nullptr;
    QAction* addWordItem = nullptr;
    QMenu* editMenu = nullptr;
    QAction* removeSourceItem = nullptr;
    QAction* removeAllSourcesItem = nullptr;
    QAction* removeOutputFolderItem = nullptr;
    QAction* removeAllOutputFoldersItem = nullptr;
    QMenu* actionsMenu = nullptr;
    QAction* convertItem = nullptr;
    QAction* settingsItem = nullptr;
    QMenu* helpMenu = nullptr;
    QAction* helpItem = nullptr;
    QAction* homePageItem = nullptr;
    QAction* aboutItem = nullptr;

    // Start-up and shut-down
    void loadState();
    void saveState();

    // Sources and documents
    void addWordDocuments();
    void removeSelectedSource();
    void moveSourceUp();
    void moveSourceDown();
    void addFolder();
    void showDocumentsOfSource(QTreeWidgetItem* item);
    void addDroppedSources(const QStringList& paths);
    // Files and folders named when the program starts; returns those left out.
    QStringList addStartSources(const QStringList& paths);
    void removeAllSources();

    // Format choice and conversion
    void showFormatExtensions();
    void convertCheckedDocuments();
    // The output folder a run writes to (ending in '/'), or nothing after telling why
    // it cannot; a typed folder is created.
    std::optional<QString> outputFolderForRun();
    // The checked documents into `outputFolder` in the chosen format; `rows` gets the
    // document list's row of each.
    RunPlan planCheckedDocuments(const QString& outputFolder, QList<int>& rows) const;
    // During a run: asks whether to stop after the document under way; true once the
    // user said Yes.
    bool askToStopConverting();

    // Output folders
    void browseOutputFolder();
    void viewOutputFolder();
    void removeOutputFolder();
    void removeAllOutputFolders();

    // helpMenu, home page, exit, settings, about
    void openHomePage();
    void showHelp();
    void exitProgram();
    void showSettings();
    void showAbout();


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
    void convertInto(const QString& outputFolder, int itemCount);

    // A run holds the window until its last document, or until the user asks it to
    // stop after the document under way (Escape, or closing the window).
    bool converting = false;
    bool stopAfterDocument = false;
    bool closeAfterRun = false; // closing was asked for during the run
};
