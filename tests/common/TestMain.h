#pragma once

#include <QObject>
#include <functional>
#include <vector>

// Lets every test file register its class, so one executable per folder runs them all.
namespace dorrit::test {

using Factory = std::function<QObject *()>;
int registerTestClass(Factory factory);

} // namespace dorrit::test

#define DORRIT_TEST_CLASS(Class)                                                                                       \
    static const int dorritRegistered_##Class =                                                                        \
        ::dorrit::test::registerTestClass([] { return static_cast<QObject *>(new Class); });
