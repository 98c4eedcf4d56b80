#include "platform/programs/ProgramStarter.h"

#include <QProcess>

namespace {

class ProcessStarter final : public ProgramStarter
{
public:
    bool start(const QString &program) override { return !program.isEmpty() && QProcess::startDetached(program, {}); }

    // Windows names its tool in the registry; there is nothing else to fall back on.
    QString desktopSystemInformation() const override { return {}; }
};

} // namespace

std::unique_ptr<ProgramStarter> makeSystemProgramStarter()
{
    return std::make_unique<ProcessStarter>();
}
