#include "app/MainWindow.h"

#include "app/Twips.h"
#include "outputs/OutputFolderCombo.h"
#include "sources/SourceListEvents.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>

namespace {

constexpr int ClientWidthTwips = 10164;
constexpr int ClientHeightTwips = 6540;

QToolButton* graphicalButton(QWidget* parent, const char* name, const QString& caption,
                             QStyle::StandardPixmap icon, int left, int width)
{
    auto* button = placeControl<QToolButton>(parent, name, left, 0, width, 975);
    button->setText(caption);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    return button;
}

QToolButton* arrowButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon, int top)
{
    auto* button = placeControl<QToolButton>(parent, name, 5400, top, 370, 610);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return button;
}

// Liberation Sans stands in for Arial with Arial's unhinted widths, a few pixels
// wider than the hinted Arial the layout was made with; tighten the letters of a
// caption that would otherwise be cut off.
void fitCaption(QLabel& caption)
{
    QFont font = caption.font();
    const qsizetype letters = caption.text().size();
    const int overflow = QFontMetrics(font).horizontalAdvance(caption.text()) - caption.width();
    if (overflow <= 0 || letters < 2)
        return;
    font.setLetterSpacing(QFont::AbsoluteSpacing, -qreal(overflow + 1) / qreal(letters - 1));
    caption.setFont(font);
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, int left, int top,
              int width, int height)
{
    auto* control = placeControl<QLabel>(parent, name, left, top, width, height);
    control->setText(caption);
    fitCaption(*control);
    return control;
}

QTreeWidget* reportView(QWidget* parent, const char* name, int left, int top, int width,
                        int height)
{
    auto* view = placeControl<QTreeWidget>(parent, name, left, top, width, height);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->setStretchLastSection(false);
    return view;
}

QMenu* topMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

MainWindow::MainWindow(const Platform& platform, QWidget* parent) : QMainWindow(parent), desktop(platform)
{
    setObjectName(QStringLiteral("form1"));
    setWindowTitle(QStringLiteral("Varnello"));
    setWindowIcon(style()->standardIcon(QStyle::SP_FileIcon));
    setFont(QFont(QStringLiteral("Arial"), 9));

    createControls();
    createMenus();
    setTabOrder();
    connectHandlers();
    SourceListEvents::attach(*this);

    // Fixed border: the client area keeps its size and the user cannot resize it.
    setFixedSize(centralWidget()->width(),
                 centralWidget()->height() + menuBar()->sizeHint().height());

    loadState();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    auto* client = new QWidget(this); // owned by the window
    client->setObjectName(QStringLiteral("client"));
    client->setFont(font());
    client->setFixedSize(twipsWidth(*this, ClientWidthTwips),
                         twipsToPixels(ClientHeightTwips, logicalDpiY()));
    setCentralWidget(client);

    struct ToolbarButton {
        QToolButton* MainWindow::*member;
        const char* name;
        const char* caption;
        QStyle::StandardPixmap icon;
        int left;
        int width;
    };
    static constexpr ToolbarButton toolbar[] = {
        {&MainWindow::addFolderButton, "Command5", "Add Folder", QStyle::SP_FileDialogNewFolder, 120, 1210},
        {&MainWindow::addWordButton, "Command1", "Add Word", QStyle::SP_FileIcon, 1440, 1210},
        {&MainWindow::removeFileButton, "Command2", "Remove File", QStyle::SP_TrashIcon, 2760, 1330},
        {&MainWindow::convertButton, "Command6", "Convert", QStyle::SP_MediaPlay, 5640, 1090},
        {&MainWindow::helpButton, "Command8", "Help", QStyle::SP_DialogHelpButton, 6840, 970},
        {&MainWindow::homePageButton, "Command7", "HomePage", QStyle::SP_DirHomeIcon, 7920, 1090},
        {&MainWindow::exitButton, "Command9", "Exit", QStyle::SP_DialogCloseButton, 9120, 970},
    };
    for (const ToolbarButton& button : toolbar)
        this->*button.member = graphicalButton(client, button.name, QString::fromLatin1(button.caption),
                                               button.icon, button.left, button.width);

    sourceList = reportView(client, "ListView1", 120, 1080, 5175, 4215);
    moveUpButton = arrowButton(client, "Command3", QStyle::SP_ArrowUp, 2280);
    moveDownButton = arrowButton(client, "Command4", QStyle::SP_ArrowDown, 3120);
    documentList = reportView(client, "ListView2", 5880, 1080, 4095, 4335);

    formatLabel = label(client, "Label2", QStringLiteral("File Format:"), 120, 5520, 1095, 255);
    formatChoice = placeControl<QComboBox>(client, "Combo1", 1320, 5520, 3610, 345);
    extensionLabel = label(client, "Label3", QStringLiteral("File Extension Name:"), 5280, 5520, 1575,
                   255);
    shortExtensionOption = placeControl<QRadioButton>(client, "Option1", 6840, 5520, 850, 250);
    shortExtensionOption->setText(QStringLiteral("htm"));
    longExtensionOption = placeControl<QRadioButton>(client, "Option2", 7800, 5520, 970, 250);
    longExtensionOption->setText(QStringLiteral("html"));

    outputFolderLabel = label(client, "Label1", QStringLiteral("Select  output directory:"), 120, 5880,
                   1935, 255);
    outputFolderChoice = placeControl<OutputFolderCombo>(client, "Combo2", 2160, 5880, 5775, 330);
    browseButton = placeControl<QPushButton>(client, "Command10", 8040, 5880, 975, 325);
    browseButton->setText(QStringLiteral("Browse"));
    viewButton = placeControl<QPushButton>(client, "Command11", 9120, 5880, 855, 325);
    viewButton->setText(QStringLiteral("View"));
    progressBar = placeControl<QProgressBar>(client, "ProgressBar1", 120, 6240, 9975, 255);
    progressBar->setTextVisible(false);
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
}

void MainWindow::createMenus()
{
    QMenuBar* bar = menuBar();
    fileMenu = topMenu(bar, "EE", QStringLiteral("File"));
    addFolderItem = menuItem(fileMenu, "AddFolder", QStringLiteral("Add Folder"));
    addWordItem = menuItem(fileMenu, "AddExcel", QStringLiteral("Add Word"));

    editMenu = topMenu(bar, "FF", QStringLiteral("Edit"));
    removeSourceItem = menuItem(editMenu, "RemoveItem", QStringLiteral("Remove Item"));
    removeAllSourcesItem = menuItem(editMenu, "RemoveAll", QStringLiteral("Remove All Items"));
    removeOutputFolderItem = menuItem(editMenu, "Removeoutput", QStringLiteral("Remove Current Output Directory"));
    removeAllOutputFoldersItem = menuItem(editMenu, "RemoveAllOutput", QStringLiteral("Remove All Output Directory"));

    actionsMenu = topMenu(bar, "Actions", QStringLiteral("Actions"));
    convertItem = menuItem(actionsMenu, "Separate", QStringLiteral("Convert"));

    settingsItem = bar->addAction(QStringLiteral("Settings"));
    settingsItem->setObjectName(QStringLiteral("Settings"));

    helpMenu = topMenu(bar, "Help", QStringLiteral("Help"));
    helpItem = menuItem(helpMenu, "Help1", QStringLiteral("Help"));
    homePageItem = menuItem(helpMenu, "HomePage", QStringLiteral("HomePage"));
    aboutItem = menuItem(helpMenu, "About", QStringLiteral("About"));
}

void MainWindow::setTabOrder()
{
    const QList<QWidget*> order = {addFolderButton, addWordButton, removeFileButton,  convertButton,     helpButton, homePageButton,
                                   exitButton, sourceList, documentList, moveUpButton,    moveDownButton, progressBar,
                                   formatChoice,   formatLabel,   shortExtensionOption,   longExtensionOption,      extensionLabel,   viewButton,
                                   browseButton, outputFolderChoice,  outputFolderLabel};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void MainWindow::connectHandlers()
{
    connect(addFolderButton, &QToolButton::clicked, this, &MainWindow::addFolder);
    connect(addWordButton, &QToolButton::clicked, this, &MainWindow::addWordDocuments);
    connect(removeFileButton, &QToolButton::clicked, this, &MainWindow::removeSelectedSource);
    connect(convertButton, &QToolButton::clicked, this, &MainWindow::convertCheckedDocuments);
    connect(helpButton, &QToolButton::clicked, this, &MainWindow::showHelp);
    connect(homePageButton, &QToolButton::clicked, this, &MainWindow::openHomePage);
    connect(exitButton, &QToolButton::clicked, this, &MainWindow::exitProgram);
    connect(moveUpButton, &QToolButton::clicked, this, &MainWindow::moveSourceUp);
    connect(moveDownButton, &QToolButton::clicked, this, &MainWindow::moveSourceDown);
    connect(browseButton, &QPushButton::clicked, this, &MainWindow::browseOutputFolder);
    connect(viewButton, &QPushButton::clicked, this, &MainWindow::viewOutputFolder);
    connect(sourceList, &QTreeWidget::itemClicked, this, &MainWindow::showDocumentsOfSource);
    connect(formatChoice, &QComboBox::currentIndexChanged, this, &MainWindow::showFormatExtensions);

    connect(addFolderItem, &QAction::triggered, this, &MainWindow::addFolder);
    connect(addWordItem, &QAction::triggered, this, &MainWindow::addWordDocuments);
    connect(removeSourceItem, &QAction::triggered, this, &MainWindow::removeSelectedSource);
    connect(removeAllSourcesItem, &QAction::triggered, this, &MainWindow::removeAllSources);
    connect(removeOutputFolderItem, &QAction::triggered, this, &MainWindow::removeOutputFolder);
    connect(removeAllOutputFoldersItem, &QAction::triggered, this, &MainWindow::removeAllOutputFolders);
    connect(convertItem, &QAction::triggered, this, &MainWindow::convertCheckedDocuments);
    connect(settingsItem, &QAction::triggered, this, &MainWindow::showSettings);
    connect(helpItem, &QAction::triggered, this, &MainWindow::showHelp);
    connect(homePageItem, &QAction::triggered, this, &MainWindow::openHomePage);
    connect(aboutItem, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::setMousePointer(MousePointer::Shape pointer)
{
    desktop.pointer.set(pointer);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (converting) {
        // The window closes, saving the lists, once the document under way is done.
        event->ignore();
        if (askToStopConverting())
            closeAfterRun = true;
        return;
    }
    if (!unloaded) {
        unloaded = true;
        saveState();
    }
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        desktop.help.showHelp(helpFile);
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}
