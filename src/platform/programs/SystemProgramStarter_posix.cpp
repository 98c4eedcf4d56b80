#include "platform/programs/ProgramStarter.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace {

class ProcessStarter final : public ProgramStarter
{
public:
    bool start(const QString &program) override { return !program.isEmpty() && QProcess::startDetached(program, {}); }

    QString desktopSystemInformation() const override
    {
        // System profilers first, then the desktops' system monitors, which show the system too.
        static const QStringList known = {
            QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("mate-system-monitor"),
            QStringLiteral("xfce4-taskmanager"),
        };
        for (const QString &name : known) {
            const QString found = QStandardPaths::findExecutable(name);
            if (!found.isEmpty())
                return found;
        }
        return {};
    }
};

} // namespace

std::unique_ptr<ProgramStarter> makeSystemProgramStarter()
{
    return std::make_unique<ProcessStarter>();
}
