#pragma once

#include <QString>

#include <memory>

// Starting another program that runs on by itself: the program does not wait for it.
class ProgramStarter
{
public:
    virtual ~ProgramStarter() = default;

    // Starts the program at that path in a normal window; false when it could not be started.
    virtual bool start(const QString &program) = 0;

    // The desktop's own system-information program where the system keeps none in its
    // registry; empty when there is none.
    virtual QString desktopSystemInformation() const = 0;
};

std::unique_ptr<ProgramStarter> makeSystemProgramStarter();
