#include "platform/help/ChmViewer.h"
#include "platform/help/HelpDisplay.h"

#include <QPointer>

namespace {

// One viewer window, brought forward and reloaded on every request, like the system viewer.
class ChmHelpDisplay final : public HelpDisplay
{
public:
    void displayTopic(const QString &helpFile, quintptr ownerWindow) override
    {
        if (!viewer_)
            viewer_ = new ChmViewer(QWidget::find(WId(ownerWindow)));
        viewer_->openFile(helpFile);
        viewer_->show();
        viewer_->raise();
        viewer_->activateWindow();
    }

private:
    QPointer<ChmViewer> viewer_;
};

} // namespace

std::unique_ptr<HelpDisplay> makeSystemHelpDisplay()
{
    return std::make_unique<ChmHelpDisplay>();
}
