#pragma once

#include "platform/ProgramStarter.h"

#include <QSet>
#include <QStringList>

// Starts nothing: records each program asked for and starts only the ones a test names.
class FakeProgramStarter final : public ProgramStarter
{
public:
    QSet<QString> startable;
    QString desktopTool;
    QStringList attempts;

    bool start(const QString &program) override
    {
        attempts.append(program);
        return startable.contains(program);
    }

    QString desktopSystemInformation() const override { return desktopTool; }
};
