#include "dialogs/myself.h"

#include "board/FontFamilies.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

const QString myself::greeting = QStringLiteral("你好！恭喜你找到了藏在这里的小彩蛋。能翻到这一页，你一定既细心又好奇。"
                                                "欢迎你，愿 Tesmar单词Dorrit 陪你记牢每一个单词！");
const QString myself::introduction = QStringLiteral("我是 Tesmar单词Dorrit "
                                                    "的作者，一个爱英语也爱写程序的普通学习者。背单词时我总爱由一个词想"
                                                    "到另一个词，于是做了这块单词盘，希望它也能帮到你。");

myself::myself(QWidget *parent)
    : UiPictureDialog(QStringLiteral("我"), 7020, 4290, parent)
{
    setObjectName(QStringLiteral("myself"));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(360, 480, 6255, 2655));
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setTabChangesFocus(true);
    Text1->setFont(QFont(FontFamilies::authorCard.toString(), 12));
    QPalette palette = Text1->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 192));
    Text1->setPalette(palette);

    auto *Command2 = new QPushButton(QStringLiteral("我的基本情况"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(twipsRect(4320, 3720, 1335, 375));
    connect(Command2, &QPushButton::clicked, this, &myself::Command2_Click);

    auto *Command1 = new QPushButton(QStringLiteral("再见"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(6120, 3720, 735, 375));
    connect(Command1, &QPushButton::clicked, this, &myself::Command1_Click);

    // Neither button answers Enter on its own.
    for (QPushButton *button : {Command1, Command2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2);

    Form_Load();
    Text1->setFocus();
}

void myself::Form_Load()
{
    Text1->setPlainText(greeting);
}

void myself::Command1_Click()
{
    close();
}

void myself::Command2_Click()
{
    Text1->setPlainText(introduction);
}

void myself::keyPressEvent(QKeyEvent *event)
{
    // No cancel button: Esc leaves the card open.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    UiPictureDialog::keyPressEvent(event);
}
