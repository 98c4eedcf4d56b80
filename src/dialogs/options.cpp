#include "dialogs/options.h"

#include "board/BoardGeometry.h"
#include "dialogs/OptionsHost.h"
#include "platform/messages/MessageSink.h"
#include "platform/pictures/PictureFile.h"
#include "platform/programs/ProgramName.h"

#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>

namespace {

int pixels(int twips)
{
    return pixelsFromTwips(twips);
}

QRect pixels(const QRect &twips)
{
    return QRect(pixels(twips.left()), pixels(twips.top()), pixels(twips.width()), pixels(twips.height()));
}

} // namespace

options::options(const Context &context, QWidget *parent)
    : QDialog(parent)
    , context_(context)
{
    setObjectName(QStringLiteral("options"));
    setWindowTitle(programName() + QStringLiteral("选项"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(pixels(5745), pixels(3660));
    // Closing by the close box forgets the dialog; OK and Cancel only hide it.
    setAttribute(Qt::WA_DeleteOnClose);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(pixels(QRect(120, 120, 5535, 3495)));
    QWidget *pages[3];
    const QString captions[3] = {QStringLiteral("环境1"), QStringLiteral("环境2"), QStringLiteral("运行")};
    for (int i = 0; i < 3; ++i) {
        pages[i] = new QWidget(SSTab1);
        pages[i]->setObjectName(QStringLiteral("SSTab1_%1").arg(i));
        SSTab1->addTab(pages[i], captions[i]);
    }

    Label1 = new QLabel(QStringLiteral("分辨率："), pages[0]);
    Label1->setObjectName(QStringLiteral("Label1"));
    place(Label1, QRect(3600, 400, 735, 255));

    Label2 = new QLabel(QStringLiteral("1024x768"), pages[0]);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAutoFillBackground(true);
    QPalette white = Label2->palette();
    white.setColor(QPalette::Window, Qt::white);
    Label2->setPalette(white);
    place(Label2, QRect(4340, 405, 720, 180));

    Check1 = new QCheckBox(QStringLiteral("随机"), pages[0]);
    Check1->setObjectName(QStringLiteral("Check1"));
    place(Check1, QRect(2760, 360, 735, 255));

    List1 = new QListWidget(pages[0]);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setSortingEnabled(false);
    place(List1, QRect(120, 720, 2415, 2220));
    connect(List1, &QListWidget::itemSelectionChanged, this, &options::List1_Click);

    Image1 = new QLabel(pages[0]);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    place(Image1, QRect(2700, 720, 2655, 2240));

    Check2 = new QCheckBox(QStringLiteral("朗读单词"), pages[2]);
    Check2->setObjectName(QStringLiteral("Check2"));
    place(Check2, QRect(360, 600, 1095, 180));

    for (int i = 0; i < 3; ++i) {
        auto *ok = new QPushButton(QStringLiteral("确定"), pages[i]);
        ok->setObjectName(QStringLiteral("Command1_%1").arg(i));
        place(ok, QRect(1680, 3120, 855, 255));
        connect(ok, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1[size_t(i)] = ok;

        auto *cancel = new QPushButton(QStringLiteral("取消"), pages[i]);
        cancel->setObjectName(QStringLiteral("Command2_%1").arg(i));
        place(cancel, QRect(3240, 3120, 855, 255));
        connect(cancel, &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
        Command2[size_t(i)] = cancel;

        // Neither is a default or cancel button: Enter and Esc press nothing.
        for (QPushButton *button : {ok, cancel}) {
            button->setAutoDefault(false);
            button->setDefault(false);
        }
    }
}

void options::place(QWidget *control, const QRect &twips)
{
    twipsRects_.emplace_back(control, twips);
    control->setGeometry(pixels(twips));
}

void options::placeOnTabs()
{
    // The design measures from the tab control's corner, tabs included; Qt's pages begin
    // below the tabs, how far below depending on the style. Where the style's tabs are
    // taller, every page moves down alike so that no control hides under them.
    constexpr int margin = 2;
    std::vector<QRect> rects;
    int shift = 0;
    for (const auto &[control, twips] : twipsRects_) {
        QRect rect = pixels(twips).translated(-control->parentWidget()->mapTo(SSTab1, QPoint(0, 0)));
        if (control == Label2) {
            rect.setSize(Label2->sizeHint());
        } else if (qobject_cast<QCheckBox *>(control) && control->sizeHint().height() > rect.height()) {
            // A box lower than its indicator would cut it; grow it about its middle.
            const int centre = rect.center().y();
            rect.setHeight(control->sizeHint().height());
            rect.moveCenter(QPoint(rect.center().x(), centre));
        }
        shift = std::max(shift, margin - rect.top());
        rects.push_back(rect);
    }
    for (size_t i = 0; i < rects.size(); ++i)
        twipsRects_[i].first->setGeometry(rects[i].translated(0, shift));
}

void options::showModal()
{
    setWindowModality(Qt::ApplicationModal);
    show();
    activateWindow();
}

void options::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The tab control lays its pages out only once it is visible.
    placeOnTabs();
    if (!event->spontaneous())
        Form_Activate();
}

void options::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QString options::selectedEntry() const
{
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void options::tell(const QString &text) const
{
    if (context_.messages)
        context_.messages->showMessage(text);
}

void options::preview(const QString &name, bool tellUser)
{
    const LoadedPicture picture = PictureFile::load(QDir(pictureFolder_).filePath(name), Image1->size());
    if (picture.ok()) {
        Image1->setPixmap(QPixmap::fromImage(picture.image));
    } else if (tellUser) {
        // The preview keeps what it showed.
        tell(QStringLiteral("无法预览“%1”：%2。").arg(name, PictureFile::reason(picture)));
    }
}

void options::Form_Activate()
{
    const OptionsPage page = context_.host->optionsPage();
    pictureFolder_ = page.pictureFolder;
    activating_ = true;
    List1->clear();
    Image1->clear();
    List1->addItems(page.files);
    for (int i = 0; i < List1->count(); ++i) {
        if (List1->item(i)->text() == page.desktopPicture)
            List1->setCurrentRow(i);
    }
    Label2->setText(page.resolutionText);
    Label2->resize(Label2->sizeHint());
    // A selected entry has shown this picture already.
    if (List1->selectedItems().isEmpty())
        preview(page.desktopPicture, false);
    Check1->setChecked(page.desktopRandom);
    Check2->setChecked(page.readAloud);
    activating_ = false;
}

void options::List1_Click()
{
    const QString name = selectedEntry();
    if (!name.isEmpty())
        preview(name, !activating_);
}

void options::Command1_Click(int index)
{
    Q_UNUSED(index);
    OptionsChoice choice;
    choice.desktopRandom = Check1->isChecked();
    choice.picture = selectedEntry();
    choice.readAloud = Check2->isChecked();
    LoadedPicture picture;
    if (!choice.picture.isEmpty()) {
        picture = PictureFile::load(QDir(pictureFolder_).filePath(choice.picture));
        if (!picture.ok())
            choice.pictureProblem = PictureFile::reason(picture);
    }
    const OptionsOutcome outcome = context_.host->optionsConfirmed(choice);
    if (!outcome.background.isEmpty() && context_.applyBackground)
        context_.applyBackground(picture.image);
    hide();
    for (const QString &text : outcome.messages)
        tell(text);
}

void options::Command2_Click(int index)
{
    Q_UNUSED(index);
    hide();
}
