#include "startup/frmmain.h"

#include "board/FontFamilies.h"
#include "dialogs/frmAbout.h"
#include "dialogs/options.h"
#include "platform/help/HelpDisplay.h"
#include "platform/messages/MessageSink.h"
#include "platform/pictures/PictureFile.h"
#include "startup/UiBoardSurface.h"
#include "startup/UiCircleShape.h"
#include "startup/UiCompletionList.h"
#include "startup/UiMeaningBox.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineF>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <optional>

namespace {

QColor toColour(quint32 rgb)
{
    return QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

// Screen readers say a label again when its name changes: the centre word, the counter.
void announce(QWidget *label)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent changed(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

// Every key of the board and the input box, by what it does; nothing stands for the input
// box, which Ctrl+L and / go to. A key with modifiers comes before the same key without.
struct KeyBinding
{
    std::optional<BoardModel::Key> rule;
    QKeyCombination key;
};
using Key = BoardModel::Key;
constexpr KeyBinding kKeys[] = {{std::nullopt, Qt::CTRL | Qt::Key_L},  {std::nullopt, Qt::Key_Slash},
                                {Key::Back, Qt::Key_Backspace},        {Key::Back, Qt::ALT | Qt::Key_Left},
                                {Key::Clockwise, Qt::Key_Right},       {Key::Clockwise, Qt::Key_Down},
                                {Key::CounterClockwise, Qt::Key_Left}, {Key::CounterClockwise, Qt::Key_Up},
                                {Key::Turn, Qt::Key_Return},           {Key::Turn, Qt::Key_Enter},
                                {Key::PreviousPage, Qt::Key_PageUp},   {Key::NextPage, Qt::Key_PageDown},
                                {Key::Leave, Qt::Key_Escape}};

// The binding a key press takes: its key, with at least the binding's modifiers held.
const KeyBinding *bindingFor(const QKeyEvent *press)
{
    for (const KeyBinding &binding : kKeys) {
        if (binding.key.key() == press->key() &&
            (press->modifiers() & binding.key.keyboardModifiers()) == binding.key.keyboardModifiers())
            return &binding;
    }
    return nullptr;
}

// The keys that do what a control does, for screen readers; its tooltip stays as designed.
void describeKeys(QWidget *control, std::optional<BoardModel::Key> rule)
{
    QStringList names;
    for (const KeyBinding &binding : kKeys) {
        if (binding.rule == rule)
            names << QKeySequence(binding.key).toString(QKeySequence::NativeText);
    }
    control->setAccessibleDescription(names.join(QStringLiteral(", ")));
}

// The one local file of a drop, when the session takes it.
QString droppedFile(const QMimeData *data)
{
    if (!data || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    const QString path = data->urls().first().toLocalFile();
    return Session::takesDrop(path) ? path : QString();
}

} // namespace

// The pictures are compiled into a static library, which needs an explicit hook: before the
// window is built, and before a background is decoded ahead of it. Registering again is harmless.
// Outside any namespace, as the hook declares a global function.
static void registerPictures()
{
    Q_INIT_RESOURCE(resources);
}

frmmain::frmmain(Session &session, const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , session_(session)
    , board_(session.board())
    , services_(services)
{
    registerPictures();
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(BoardModel::programTitle);
    buildControls();
    buildMenus();
    connectBoard();
    connectCompletion();
    session_.setPaintNow([this] { paintNow(); });
    setAcceptDrops(true);
    placeControlsForGeometry();
    render();
}

frmmain::~frmmain() = default;

void frmmain::buildControls()
{
    surface_ = new UiBoardSurface(this);
    surface_->setObjectName(QStringLiteral("board"));
    setCentralWidget(surface_);
    connect(surface_, &UiBoardSurface::painted, this, [this] {
        if (!framePainted_) {
            framePainted_ = true;
            emit firstFramePainted();
        }
    });

    // Circles first so that labels and meaning boxes stack above them.
    for (int i = 0; i < BoardModel::slotCount; ++i) {
        Shape1[size_t(i)] = new UiCircleShape(surface_);
        Shape1[size_t(i)]->setObjectName(QStringLiteral("Shape1_%1").arg(i));
    }
    for (int i = 0; i < BoardModel::slotCount; ++i) {
        auto *label = new QLabel(surface_);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, toColour(BoardModel::wordColour));
        palette.setColor(QPalette::Window, Qt::white);
        label->setPalette(palette);
        Label1[size_t(i)] = label;

        auto *box = new UiMeaningBox(surface_);
        box->setObjectName(QStringLiteral("Text2_%1").arg(i));
        Text2[size_t(i)] = box;
    }

    // Above the circles, under the centre word, where no other control lies.
    LabelPhonetic = new QLabel(surface_);
    LabelPhonetic->setObjectName(QStringLiteral("LabelPhonetic"));
    LabelPhonetic->setAlignment(Qt::AlignCenter);
    LabelPhonetic->setAutoFillBackground(true);
    LabelPhonetic->setMouseTracking(true);
    LabelPhonetic->installEventFilter(this);
    LabelPhonetic->hide();

    Command1 = new QPushButton(QStringLiteral("随机"), surface_);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("随机选择单词"));
    Command1->setGeometry(4, 12, 41, 25);

    Text1 = new QLineEdit(surface_);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(48, 16, 113, 18);
    describeKeys(Text1, std::nullopt);

    Command2 = new QPushButton(surface_);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setToolTip(QStringLiteral("Let's GO!"));
    Command2->setGeometry(168, 8, 41, 33);
    Command2->setIcon(QIcon(QStringLiteral(":/images/go.png")));
    Command2->setIconSize(QSize(37, 29));

    Label3 = new QLabel(QStringLiteral("0"), surface_);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setToolTip(QStringLiteral("已转单词数"));
    Label3->setGeometry(0, 48, 49, 12);
    Label3->setAlignment(Qt::AlignCenter);

    Command5 = new QPushButton(QStringLiteral("后退"), surface_);
    Command5->setObjectName(QStringLiteral("Command5"));
    Command5->setToolTip(QStringLiteral("上一个单词"));
    describeKeys(Command5, Key::Back);
    Command5->setGeometry(56, 45, 41, 19);

    Command3 = new QPushButton(surface_);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setToolTip(QStringLiteral("上一屏"));
    describeKeys(Command3, Key::PreviousPage);
    Command3->setIcon(QIcon(QStringLiteral(":/images/previous.png")));
    Command3->setIconSize(QSize(21, 29));

    Command4 = new QPushButton(surface_);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setToolTip(QStringLiteral("下一屏"));
    describeKeys(Command4, Key::NextPage);
    Command4->setIcon(QIcon(QStringLiteral(":/images/next.png")));
    Command4->setIconSize(QSize(21, 29));

    for (QPushButton *button : {Command1, Command2, Command5, Command3, Command4})
        button->setFocusPolicy(Qt::TabFocus);
}

void frmmain::connectBoard()
{
    const auto rule = [this](void (BoardModel::*routine)()) {
        return [this, routine] {
            (board_.*routine)();
            afterAction();
        };
    };
    connect(Command1, &QPushButton::clicked, this, rule(&BoardModel::Command1_Click));
    connect(Command2, &QPushButton::clicked, this, rule(&BoardModel::Command2_Click));
    // Enter in the input box presses Go, as in any search box.
    connect(Text1, &QLineEdit::returnPressed, this, rule(&BoardModel::Command2_Click));
    connect(Command3, &QPushButton::clicked, this, rule(&BoardModel::Command3_Click));
    connect(Command4, &QPushButton::clicked, this, rule(&BoardModel::Command4_Click));
    connect(Command5, &QPushButton::clicked, this, rule(&BoardModel::Command5_Click));
    connect(Text1, &QLineEdit::textEdited, this, [this](const QString &text) { board_.setInputText(text); });
    surface_->pointerMoved = [this](const QPointF &at) { Form_MouseMove(at); };
    connect(surface_, &UiBoardSurface::doubleClicked, this, rule(&BoardModel::Form_DblClick));
    for (UiMeaningBox *box : Text2)
        connect(box, &UiMeaningBox::doubleClicked, this, rule(&BoardModel::Text2_DblClick));
    // Words and meanings lie over the board: the pointer over them is still over the board.
    for (int i = 0; i < BoardModel::slotCount; ++i) {
        for (QWidget *w : {static_cast<QWidget *>(Label1[size_t(i)]), static_cast<QWidget *>(Text2[size_t(i)])}) {
            w->setMouseTracking(true);
            w->installEventFilter(this);
        }
    }
    // The centre word and a ring word in focus offer the wordbook in their menu.
    QList<QWidget *> withMenu{surface_, LabelPhonetic};
    withMenu.append(QList<QWidget *>(Label1.begin(), Label1.end()));
    for (QWidget *w : withMenu) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint &at) { wordMenu(w, at); });
    }
    for (int i = 0; i < BoardModel::slotCount; ++i) {
        Text2[size_t(i)]->extendMenu = [this, i](QMenu *menu) {
            if (session_.wordShownAt(i)) {
                menu->addSeparator();
                addWordbookEntry(menu, i);
            }
        };
    }
    // The board takes keys wherever the keyboard focus is, except while typing.
    surface_->setFocusPolicy(Qt::StrongFocus);
    for (QWidget *w :
         std::initializer_list<QWidget *>{surface_, Text1, Command1, Command2, Command3, Command4, Command5})
        w->installEventFilter(this);
    setTabOrder(Text1, Command2);
    setTabOrder(Command2, Command1);
    setTabOrder(Command1, Command5);
    setTabOrder(Command5, surface_);
}

void frmmain::connectCompletion()
{
    completion_ = new UiCompletionList(Text1, session_, surface_);
    // A picked headword goes into the box and is looked up as Go does.
    connect(completion_, &UiCompletionList::picked, this, [this](const QString &headword) {
        Text1->setText(headword);
        board_.setInputText(headword);
        board_.Command2_Click();
        afterAction();
    });
    connect(Command2, &QPushButton::clicked, completion_, &QWidget::hide);
}

bool frmmain::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        // Labels and meaning boxes are children of the board surface.
        const auto *w = static_cast<QWidget *>(watched);
        if (w->parentWidget() == surface_)
            Form_MouseMove(static_cast<QMouseEvent *>(event)->position() + QPointF(w->pos()));
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (std::find(Label1.begin(), Label1.end(), watched) != Label1.end()) {
            board_.Label1_DblClick();
            afterAction();
            return true;
        }
        break;
    case QEvent::FocusIn:
        if (watched == Text1)
            Text1_GotFocus(static_cast<QFocusEvent *>(event)->reason());
        break;
    case QEvent::KeyPress:
        if (boardKey(watched, static_cast<QKeyEvent *>(event)))
            return true;
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmmain::boardKey(QObject *watched, const QKeyEvent *key)
{
    const KeyBinding *binding = bindingFor(key);
    if (watched == Text1) {
        // Typing keeps its keys; Esc hands the keyboard back to the board.
        if (!binding || binding->rule != Key::Leave)
            return false;
        surface_->setFocus(Qt::OtherFocusReason);
        board_.keyPressed(Key::Leave);
    } else if (!binding) {
        return false;
    } else if (!binding->rule) {
        if (!Text1->isEnabled())
            return false;
        Text1->setFocus(Qt::ShortcutFocusReason);
    } else if (auto *button = qobject_cast<QPushButton *>(watched); button && binding->rule == Key::Turn) {
        // A button with the keyboard focus is pressed by Enter, as users expect.
        button->animateClick();
        return true;
    } else if (!board_.keyPressed(*binding->rule)) {
        return false;
    }
    afterAction();
    return true;
}

void frmmain::Form_MouseMove(const QPointF &at)
{
    board_.Form_MouseMove(at.x(), at.y());
    render();
}

void frmmain::Text1_GotFocus(Qt::FocusReason reason)
{
    Text1->selectAll();
    // A click goes on to place the cursor after the focus arrives; select again after it.
    if (reason == Qt::MouseFocusReason)
        QTimer::singleShot(0, Text1, &QLineEdit::selectAll);
}

void frmmain::buildMenus()
{
    QMenu *mnufile = menuBar()->addMenu(QStringLiteral("文件"));
    mnufile->setObjectName(QStringLiteral("mnufile"));
    mnuciku = mnufile->addAction(QStringLiteral("选择词库"));
    mnuciku->setObjectName(QStringLiteral("mnuciku"));
    mnuciku->setShortcut(QKeySequence::Open);
    connect(mnuciku, &QAction::triggered, this, &frmmain::mnuciku_Click);
    mnuoption = mnufile->addAction(QStringLiteral("选项"));
    mnuoption->setObjectName(QStringLiteral("mnuoption"));
    connect(mnuoption, &QAction::triggered, this, &frmmain::mnuoption_Click);
    mnuexit = mnufile->addAction(QStringLiteral("退出"));
    mnuexit->setObjectName(QStringLiteral("mnuexit"));
    connect(mnuexit, &QAction::triggered, this, &frmmain::mnuexit_Click);

    QMenu *mnuwordbook = menuBar()->addMenu(QStringLiteral("生词本"));
    mnuwordbook->setObjectName(QStringLiteral("mnuwordbook"));
    mnuwordbookadd = mnuwordbook->addAction(QStringLiteral("加入生词本"));
    mnuwordbookadd->setObjectName(QStringLiteral("mnuwordbookadd"));
    // Free on the board and in the input box, which binds no Ctrl+B of its own.
    mnuwordbookadd->setShortcut(Qt::CTRL | Qt::Key_B);
    mnuwordbookadd->setEnabled(false);
    connect(mnuwordbookadd, &QAction::triggered, this, &frmmain::mnuwordbookadd_Click);
    mnuwordbookopen = mnuwordbook->addAction(QStringLiteral("打开生词本"));
    mnuwordbookopen->setObjectName(QStringLiteral("mnuwordbookopen"));
    connect(mnuwordbookopen, &QAction::triggered, this, &frmmain::mnuwordbookopen_Click);
    mnuwordbookexport = mnuwordbook->addAction(QStringLiteral("导出…"));
    mnuwordbookexport->setObjectName(QStringLiteral("mnuwordbookexport"));
    connect(mnuwordbookexport, &QAction::triggered, this, &frmmain::mnuwordbookexport_Click);
    // The first entry says what it will do to the word it acts on.
    connect(mnuwordbook, &QMenu::aboutToShow, this, [this] {
        const int slot = session_.wordbookSlot();
        const bool kept = slot >= 0 && session_.inWordbook(board_.slot(slot).caption);
        mnuwordbookadd->setText(kept ? QStringLiteral("移出生词本") : QStringLiteral("加入生词本"));
    });

    QMenu *mnuhelp = menuBar()->addMenu(QStringLiteral("帮助"));
    mnuhelp->setObjectName(QStringLiteral("mnuhelp"));
    mnuhelphtm = mnuhelp->addAction(QStringLiteral("帮助主题"));
    mnuhelphtm->setObjectName(QStringLiteral("mnuhelphtm"));
    mnuabout = mnuhelp->addAction(QStringLiteral("关于..."));
    mnuabout->setObjectName(QStringLiteral("mnuabout"));
    connect(mnuhelphtm, &QAction::triggered, this, &frmmain::mnuhelphtm_Click);
    connect(mnuabout, &QAction::triggered, this, &frmmain::mnuabout_Click);
}

int frmmain::screenHeightTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    // On a scaled screen Qt gives the height in device-independent pixels at 96 dpi, so 15 twips
    // each: a 1200-pixel screen at 200 % is 600 high and gets the 800x600 board, as a 120-dpi
    // display of 600 pixels counts 7200 twips on Windows.
    return screen->size().height() * BoardGeometry::twipsPerPixel(screen->logicalDotsPerInchY());
}

// A picture that cannot be shown leaves the built-in background, decoded off the UI thread too;
// start-up shows no message for it, only a line in the log when a file was there but refused.
QFuture<QImage> frmmain::decodeBackground(const QString &path, QThreadPool &pool)
{
    registerPictures();
    return QtConcurrent::run(&pool, [path] {
        const LoadedPicture picture = PictureFile::load(path);
        if (picture.ok())
            return picture.image;
        if (picture.failure != LoadedPicture::Failure::Missing)
            qInfo("Background %s not shown: %s", qUtf8Printable(path), qUtf8Printable(PictureFile::reason(picture)));
        return QImage(UiBoardSurface::builtInPicture);
    });
}

void frmmain::setBackgroundLater(QFuture<QImage> picture)
{
    surface_->setBackgroundLater(std::move(picture));
}

void frmmain::showMessages(const QStringList &texts)
{
    if (!services_.messages)
        return;
    for (const QString &text : texts)
        services_.messages->showMessage(text);
}

void frmmain::afterAction()
{
    // The board is brought up to date first so that it is coherent behind a modal message.
    render();
    showMessages(session_.takeMessages());
}

void frmmain::placeControlsForGeometry()
{
    const BoardGeometry &g = board_.geometry();
    Command3->setGeometry(g.previousPageLeft, g.previousPageTop, 25, 33);
    Command4->setGeometry(g.nextPageLeft, g.nextPageTop, 25, 33);
    for (int i = 0; i < BoardModel::slotCount; ++i) {
        Shape1[size_t(i)]->setGeometry(g.slotX[size_t(i)] - g.circleWidth / 2, g.slotY[size_t(i)] - g.circleHeight / 2,
                                       g.circleWidth, g.circleHeight);
    }
    QFont phoneticFont(FontFamilies::phonetic.toString());
    phoneticFont.setPixelSize(g.focusLabelHeight - 7);
    LabelPhonetic->setFont(phoneticFont);
    QFont meaningFont(FontFamilies::meaning.toString());
    meaningFont.setPointSize(g.meaningFontSize);
    for (UiMeaningBox *box : Text2)
        box->setFont(meaningFont);
    surface_->setMinimumSize(g.boardWidth, g.boardHeight);
}

void frmmain::render()
{
    const quint16 changed = board_.takeChangedSlots();
    for (int i = 0; i < BoardModel::slotCount; ++i) {
        if (changed & (1u << i))
            renderSlot(i);
    }
    const bool controlsChanged = board_.takeControlsChanged();
    if (board_.takePhoneticChanged() || controlsChanged || (changed & (1u << BoardModel::centreSlot)))
        renderPhonetic();
    if (!controlsChanged)
        return;
    const BoardModel &b = board_;
    mnuwordbookadd->setEnabled(b.currentWord() > 0);
    setWindowTitle(b.caption());
    Command1->setEnabled(b.randomEnabled());
    Command2->setEnabled(b.goEnabled());
    if (Text1->text() != b.inputText())
        Text1->setText(b.inputText());
    Text1->setEnabled(b.inputEnabled());
    if (Label3->text() != b.counterText()) {
        Label3->setText(b.counterText());
        announce(Label3);
    }
    Label3->setEnabled(b.counterEnabled());
    Command5->setEnabled(b.backEnabled());
    Command3->setVisible(b.previousPageShown());
    Command4->setVisible(b.nextPageShown());
}

void frmmain::renderSlot(int i)
{
    const BoardGeometry &g = board_.geometry();
    const BoardModel::Slot &s = board_.slot(i);
    const int x = g.slotX[size_t(i)];
    const int y = g.slotY[size_t(i)];

    UiCircleShape *circle = Shape1[size_t(i)];
    circle->setBorderStyle(s.borderStyle);
    circle->setBorderColor(toColour(s.borderColour));
    circle->setInWordbook(s.inWordbook);
    circle->setVisible(s.circleShown);

    // Hidden words and meanings are brought up to date when they are next shown: fonts
    // and text layout are the costly part of a turn and of start-up.
    QLabel *label = Label1[size_t(i)];
    if (s.labelShown) {
        QFont font;
        QRect rect;
        if (s.labelStyle == BoardModel::LabelStyle::Resting) {
            font = QFont(FontFamilies::restingWord.toString(), g.wordFontSize);
            rect = QRect(x - g.wordLabelOffsetX, y - g.wordLabelOffsetY, g.wordLabelWidth, g.wordLabelHeight);
        } else {
            font = QFont(g.focusFontName, g.focusFontSize);
            font.setBold(s.labelStyle == BoardModel::LabelStyle::Centre);
            rect = QRect(x - g.focusLabelOffsetX, y - g.focusLabelOffsetY, g.focusLabelWidth, g.focusLabelHeight);
        }
        // Setting an equal font still re-resolves it for the whole subtree.
        if (label->font() != font)
            label->setFont(font);
        label->setGeometry(rect);
        if (label->text() != s.caption) {
            label->setText(s.caption);
            if (i == BoardModel::centreSlot)
                announce(label);
        }
        // A ring slot reads as its word, described by its meaning.
        if (label->accessibleDescription() != s.meaning)
            label->setAccessibleDescription(s.meaning);
    }
    label->setVisible(s.labelShown);

    UiMeaningBox *box = Text2[size_t(i)];
    if (s.meaningShown) {
        // Half pixels go to the nearest even pixel, as every other derived position does.
        box->setGeometry(roundHalfEven(s.meaningBox.left), roundHalfEven(s.meaningBox.top), s.meaningBox.width,
                         s.meaningBox.height);
        box->setText(s.meaning);
    }
    box->setVisible(s.meaningShown);
}

void frmmain::renderPhonetic()
{
    const QString text = board_.phonetic();
    const bool shown = !text.isEmpty() && board_.slot(BoardModel::centreSlot).labelShown;
    if (shown) {
        // Under the centre word; under the meaning box when that reaches so high.
        const BoardGeometry &g = board_.geometry();
        const MeaningBox &box = board_.slot(BoardModel::centreSlot).meaningBox;
        const int height = g.focusLabelHeight - 4;
        int top = g.slotY[BoardModel::centreSlot] - g.focusLabelOffsetY + g.focusLabelHeight;
        if (box.top < top + height)
            top = roundHalfEven(box.top) + box.height + 1;
        LabelPhonetic->setGeometry(g.slotX[BoardModel::centreSlot] - g.focusLabelOffsetX, top, g.focusLabelWidth,
                                   height);
        const QString elided =
            LabelPhonetic->fontMetrics().elidedText(text, Qt::ElideRight, LabelPhonetic->contentsRect().width());
        if (LabelPhonetic->text() != elided) {
            LabelPhonetic->setText(elided);
            LabelPhonetic->setAccessibleName(text);
        }
    }
    LabelPhonetic->setVisible(shown);
}

void frmmain::showFillingScreen()
{
    // Without a window manager "maximized" does nothing, so take the screen's size first.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    showMaximized();
}

void frmmain::mnuciku_Click()
{
    session_.chooseLibrary();
    afterAction();
}

void frmmain::mnuwordbookadd_Click()
{
    toggleWordbook(session_.wordbookSlot());
}

void frmmain::mnuwordbookopen_Click()
{
    session_.openWordbook();
    afterAction();
}

void frmmain::mnuwordbookexport_Click()
{
    session_.exportWordbook();
    afterAction();
}

int frmmain::wordSlotAt(const QPointF &at) const
{
    const BoardGeometry &g = board_.geometry();
    for (int i = 0; i < BoardModel::slotCount; ++i) {
        if (session_.wordShownAt(i) &&
            QLineF(at, QPointF(g.slotX[size_t(i)], g.slotY[size_t(i)])).length() < g.circleHeight / 2.0)
            return i;
    }
    return -1;
}

void frmmain::addWordbookEntry(QMenu *menu, int slot)
{
    const bool kept = session_.inWordbook(board_.slot(slot).caption);
    // Triggered, not returned by a modal loop: a screen reader's press reaches it too.
    connect(menu->addAction(kept ? QStringLiteral("移出生词本") : QStringLiteral("加入生词本")), &QAction::triggered,
            this, [this, menu, slot] {
                menu->close();
                toggleWordbook(slot);
            });
}

void frmmain::wordMenu(QWidget *from, const QPoint &at)
{
    const int slot = wordSlotAt(from->mapTo(surface_, at));
    if (slot < 0)
        return;
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    addWordbookEntry(menu, slot);
    menu->popup(from->mapToGlobal(at));
}

void frmmain::toggleWordbook(int slot)
{
    if (!session_.toggleWordbook(slot, services_.ask)) {
        afterAction();
        return;
    }
    // The marks are painted at once, and the files written after them: a safe write takes
    // longer than a frame.
    QRegion marks;
    for (int i = 0; i < BoardModel::slotCount; ++i) {
        if (board_.slot(i).inWordbook != Shape1[size_t(i)]->inWordbook())
            marks += Shape1[size_t(i)]->geometry();
    }
    render();
    if (isVisible() && !marks.isEmpty())
        surface_->repaint(marks);
    session_.saveWordbook();
    // The open library may be the wordbook, whose headwords the list offered.
    completion_->hide();
    afterAction();
}

void frmmain::mnuoption_Click()
{
    if (!optionsDialog_) {
        options::Context context;
        context.host = &session_;
        context.messages = services_.messages;
        context.applyBackground = [this](const QImage &picture) {
            surface_->setBackground(QPixmap::fromImage(picture));
        };
        optionsDialog_ = new options(context, this);
    }
    optionsDialog_->showModal();
}

options *frmmain::optionsDialog() const
{
    return optionsDialog_.data();
}

void frmmain::paintNow()
{
    render();
    // The empty board is painted before reading starts. Input waits: the handler that is
    // loading must not be entered again meanwhile.
    surface_->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmmain::mnuexit_Click()
{
    close();
}

void frmmain::mnuhelphtm_Click()
{
    if (services_.help)
        services_.help->displayTopic(session_.helpFile(), quintptr(winId()));
}

void frmmain::mnuabout_Click()
{
    if (!services_.registry || !services_.programs || !services_.messages)
        return;
    // Modal, but not waited for here; it destroys itself when closed.
    auto *about = new frmAbout(*services_.registry, *services_.programs, *services_.messages, this);
    about->setWindowModality(Qt::ApplicationModal);
    about->show();
}

void frmmain::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmmain::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has finished, so that the other program is not kept waiting by a box.
    QMetaObject::invokeMethod(
        this, [this, path] { fileDropped(path); }, Qt::QueuedConnection);
}

void frmmain::fileDropped(const QString &path)
{
    const QString report = session_.fileDropped(path, services_.ask);
    afterAction();
    if (!report.isEmpty())
        showMessages({report});
}

void frmmain::closeEvent(QCloseEvent *event)
{
    // Nothing is saved at exit and no other window may keep the program alive.
    event->accept();
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}
