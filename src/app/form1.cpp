#include "app/form1.h"

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

template <typename Control>
Control* place(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = new Control(parent); // owned by its parent window
    control->setObjectName(QLatin1String(name));
    control->setGeometry(twipsRect(*parent, left, top, width, height));
    return control;
}

QToolButton* graphicalButton(QWidget* parent, const char* name, const QString& caption,
                             QStyle::StandardPixmap icon, int left, int width)
{
    auto* button = place<QToolButton>(parent, name, left, 0, width, 975);
    button->setText(caption);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    return button;
}

QToolButton* arrowButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon, int top)
{
    auto* button = place<QToolButton>(parent, name, 5400, top, 370, 610);
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
    auto* control = place<QLabel>(parent, name, left, top, width, height);
    control->setText(caption);
    fitCaption(*control);
    return control;
}

QTreeWidget* reportView(QWidget* parent, const char* name, int left, int top, int width,
                        int height)
{
    auto* view = place<QTreeWidget>(parent, name, left, top, width, height);
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

form1::form1(const Platform& platform, QWidget* parent) : QMainWindow(parent), desktop(platform)
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

    Form_Load();
}

form1::~form1() = default;

void form1::createControls()
{
    auto* client = new QWidget(this); // owned by the window
    client->setObjectName(QStringLiteral("client"));
    client->setFont(font());
    client->setFixedSize(twipsWidth(*this, ClientWidthTwips),
                         twipsToPixels(ClientHeightTwips, logicalDpiY()));
    setCentralWidget(client);

    Command5 = graphicalButton(client, "Command5", QStringLiteral("Add Folder"),
                               QStyle::SP_FileDialogNewFolder, 120, 1210);
    Command1 = graphicalButton(client, "Command1", QStringLiteral("Add Word"),
                               QStyle::SP_FileIcon, 1440, 1210);
    Command2 = graphicalButton(client, "Command2", QStringLiteral("Remove File"),
                               QStyle::SP_TrashIcon, 2760, 1330);
    Command6 = graphicalButton(client, "Command6", QStringLiteral("Convert"),
                               QStyle::SP_MediaPlay, 5640, 1090);
    Command8 = graphicalButton(client, "Command8", QStringLiteral("Help"),
                               QStyle::SP_DialogHelpButton, 6840, 970);
    Command7 = graphicalButton(client, "Command7", QStringLiteral("HomePage"),
                               QStyle::SP_DirHomeIcon, 7920, 1090);
    Command9 = graphicalButton(client, "Command9", QStringLiteral("Exit"),
                               QStyle::SP_DialogCloseButton, 9120, 970);

    ListView1 = reportView(client, "ListView1", 120, 1080, 5175, 4215);
    Command3 = arrowButton(client, "Command3", QStyle::SP_ArrowUp, 2280);
    Command4 = arrowButton(client, "Command4", QStyle::SP_ArrowDown, 3120);
    ListView2 = reportView(client, "ListView2", 5880, 1080, 4095, 4335);

    Label2 = label(client, "Label2", QStringLiteral("File Format:"), 120, 5520, 1095, 255);
    Combo1 = place<QComboBox>(client, "Combo1", 1320, 5520, 3610, 345);
    Label3 = label(client, "Label3", QStringLiteral("File Extension Name:"), 5280, 5520, 1575,
                   255);
    Option1 = place<QRadioButton>(client, "Option1", 6840, 5520, 850, 250);
    Option1->setText(QStringLiteral("htm"));
    Option2 = place<QRadioButton>(client, "Option2", 7800, 5520, 970, 250);
    Option2->setText(QStringLiteral("html"));

    Label1 = label(client, "Label1", QStringLiteral("Select  output directory:"), 120, 5880,
                   1935, 255);
    Combo2 = place<OutputFolderCombo>(client, "Combo2", 2160, 5880, 5775, 330);
    Command10 = place<QPushButton>(client, "Command10", 8040, 5880, 975, 325);
    Command10->setText(QStringLiteral("Browse"));
    Command11 = place<QPushButton>(client, "Command11", 9120, 5880, 855, 325);
    Command11->setText(QStringLiteral("View"));
    ProgressBar1 = place<QProgressBar>(client, "ProgressBar1", 120, 6240, 9975, 255);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
}

void form1::createMenus()
{
    QMenuBar* bar = menuBar();
    EE = topMenu(bar, "EE", QStringLiteral("File"));
    AddFolder = menuItem(EE, "AddFolder", QStringLiteral("Add Folder"));
    AddExcel = menuItem(EE, "AddExcel", QStringLiteral("Add Word"));

    FF = topMenu(bar, "FF", QStringLiteral("Edit"));
    RemoveItem = menuItem(FF, "RemoveItem", QStringLiteral("Remove Item"));
    RemoveAll = menuItem(FF, "RemoveAll", QStringLiteral("Remove All Items"));
    Removeoutput = menuItem(FF, "Removeoutput", QStringLiteral("Remove Current Output Directory"));
    RemoveAllOutput = menuItem(FF, "RemoveAllOutput", QStringLiteral("Remove All Output Directory"));

    Actions = topMenu(bar, "Actions", QStringLiteral("Actions"));
    Separate = menuItem(Actions, "Separate", QStringLiteral("Convert"));

    Settings = bar->addAction(QStringLiteral("Settings"));
    Settings->setObjectName(QStringLiteral("Settings"));

    Help = topMenu(bar, "Help", QStringLiteral("Help"));
    Help1 = menuItem(Help, "Help1", QStringLiteral("Help"));
    HomePage = menuItem(Help, "HomePage", QStringLiteral("HomePage"));
    About = menuItem(Help, "About", QStringLiteral("About"));
}

void form1::setTabOrder()
{
    const QList<QWidget*> order = {Command5, Command1, Command2,  Command6,     Command8, Command7,
                                   Command9, ListView1, ListView2, Command3,    Command4, ProgressBar1,
                                   Combo1,   Label2,   Option1,   Option2,      Label3,   Command11,
                                   Command10, Combo2,  Label1};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void form1::connectHandlers()
{
    connect(Command5, &QToolButton::clicked, this, &form1::Command5_Click);
    connect(Command1, &QToolButton::clicked, this, &form1::Command1_Click);
    connect(Command2, &QToolButton::clicked, this, &form1::Command2_Click);
    connect(Command6, &QToolButton::clicked, this, &form1::Command6_Click);
    connect(Command8, &QToolButton::clicked, this, &form1::Command8_Click);
    connect(Command7, &QToolButton::clicked, this, &form1::Command7_Click);
    connect(Command9, &QToolButton::clicked, this, &form1::Command9_Click);
    connect(Command3, &QToolButton::clicked, this, &form1::Command3_Click);
    connect(Command4, &QToolButton::clicked, this, &form1::Command4_Click);
    connect(Command10, &QPushButton::clicked, this, &form1::Command10_Click);
    connect(Command11, &QPushButton::clicked, this, &form1::Command11_Click);
    connect(ListView1, &QTreeWidget::itemClicked, this, &form1::ListView1_ItemClick);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &form1::Combo1_Click);

    connect(AddFolder, &QAction::triggered, this, &form1::AddFolder_Click);
    connect(AddExcel, &QAction::triggered, this, &form1::AddExcel_Click);
    connect(RemoveItem, &QAction::triggered, this, &form1::RemoveItem_Click);
    connect(RemoveAll, &QAction::triggered, this, &form1::RemoveAll_Click);
    connect(Removeoutput, &QAction::triggered, this, &form1::Removeoutput_Click);
    connect(RemoveAllOutput, &QAction::triggered, this, &form1::RemoveAllOutput_Click);
    connect(Separate, &QAction::triggered, this, &form1::Separate_Click);
    connect(Settings, &QAction::triggered, this, &form1::Settings_Click);
    connect(Help1, &QAction::triggered, this, &form1::Help1_Click);
    connect(HomePage, &QAction::triggered, this, &form1::HomePage_Click);
    connect(About, &QAction::triggered, this, &form1::About_Click);
}

void form1::setMousePointer(int16_t pointer)
{
    desktop.pointer.set(pointer);
}

void form1::closeEvent(QCloseEvent* event)
{
    if (converting) {
        event->ignore();
        return;
    }
    if (!unloaded) {
        unloaded = true;
        Form_Unload();
    }
    event->accept();
}

void form1::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        desktop.help.showHelp(HelpFile);
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}
