#pragma once

#include "dialogs/UiPictureDialog.h"
#include "platform/programs/SystemInformation.h"

class QLabel;
class QPushButton;

// The About box: the product name, the version, and the way to the system-information tool.
// Double-clicking the product name opens the author card.
class frmAbout : public UiPictureDialog
{
    Q_OBJECT
public:
    frmAbout(const Registry &registry, ProgramStarter &starter, MessageSink &messages, QWidget *parent = nullptr);

    bool GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal) const;
    void StartSysInfo();

    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Image1_DblClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    SystemInformation systemInformation_;
    QLabel *Image1 = nullptr;
    QPushButton *cmdOK = nullptr;
};
