#include "dialogs/frmAbout.h"

#include "board/FontFamilies.h"
#include "dialogs/myself.h"
#include "platform/programs/ProgramName.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

QFrame *makeLine(QWidget *parent, const QString &name, const QColor &colour, const QRect &rect)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    line->setGeometry(rect);
    return line;
}

} // namespace

frmAbout::frmAbout(const Registry &registry, ProgramStarter &starter, MessageSink &messages, QWidget *parent)
    : UiPictureDialog(QStringLiteral("关于 ") + programName(), 5730, 2880, parent)
    , systemInformation_(registry, starter, messages)
{
    setObjectName(QStringLiteral("frmAbout"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/product_name.png")));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setGeometry(twipsRect(480, 132, 3915, 435));
    Image1->installEventFilter(this);

    auto *Label1 = new QLabel(QStringLiteral("Ver 0.1"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(4680, 240, 855, 255));
    Label1->setFont(QFont(FontFamilies::aboutVersion.toString(), 12));
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    Label1->setPalette(palette);

    // Grey over a two-pixel white line: one etched separator.
    const int lineY = pixels(840);
    makeLine(this, QStringLiteral("Line1_0"), Qt::white, QRect(pixels(120), lineY, pixels(5669 - 120), 2));
    makeLine(this, QStringLiteral("Line1_1"), QColor(128, 128, 128), QRect(pixels(120), lineY, pixels(5684 - 120), 1));

    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipsRect(2520, 2400, 1500, 345));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    auto *cmdSysInfo = new QPushButton(QStringLiteral("系统信息(&S)..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(twipsRect(4140, 2400, 1485, 345));
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    cmdOK->setFocus();
}

bool frmAbout::GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal) const
{
    return systemInformation_.GetKeyValue(KeyRoot, KeyName, SubKeyRef, KeyVal);
}

void frmAbout::StartSysInfo()
{
    systemInformation_.StartSysInfo();
}

// Esc rejects the dialog, which closes and destroys it just the same: cmdOK is both the
// default and the cancel button.
void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::Image1_DblClick()
{
    auto *card = new myself(this);
    card->setWindowModality(Qt::ApplicationModal);
    card->show();
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonDblClick) {
        Image1_DblClick();
        return true;
    }
    return UiPictureDialog::eventFilter(watched, event);
}
