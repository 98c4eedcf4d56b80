#include "common/TestMain.h"

#include <QCoreApplication>
#ifdef DORRIT_TEST_WIDGETS
#include <QApplication>
#endif
#include <QStringList>
#include <QTest>
#include <memory>

namespace dorrit::test {

static std::vector<Factory> &factories()
{
    static std::vector<Factory> list;
    return list;
}

int registerTestClass(Factory factory)
{
    factories().push_back(std::move(factory));
    return static_cast<int>(factories().size());
}

} // namespace dorrit::test

int main(int argc, char **argv)
{
    // Widget tests need a QApplication; the offscreen platform is set by CTest.
    std::unique_ptr<QCoreApplication> app;
#ifdef DORRIT_TEST_WIDGETS
    app = std::make_unique<QApplication>(argc, argv);
#else
    app = std::make_unique<QCoreApplication>(argc, argv);
#endif
    // DORRIT_TEST_ONLY=tst_A,tst_B runs just those classes, for working on one of them.
    const QStringList only = qEnvironmentVariable("DORRIT_TEST_ONLY").split(u',', Qt::SkipEmptyParts);
    int failed = 0;
    for (const auto &make : dorrit::test::factories()) {
        std::unique_ptr<QObject> test(make());
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(test->metaObject()->className())))
            continue;
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
