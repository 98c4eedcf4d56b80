#pragma once

#include "dialogs/UiPictureDialog.h"

class QPlainTextEdit;

// The author card behind the About box's product name: a greeting, and on request a few
// words from the author.
class myself : public UiPictureDialog
{
    Q_OBJECT
public:
    static const QString greeting;
    static const QString introduction;

    explicit myself(QWidget *parent = nullptr);

    void Command1_Click();
    void Command2_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();

    QPlainTextEdit *Text1 = nullptr;
};
