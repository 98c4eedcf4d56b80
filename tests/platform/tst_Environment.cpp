#include "common/FakeEnvironment.h"

#include <QTest>

class tst_Environment : public QObject
{
    Q_OBJECT
private slots:
    void expandWith_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("known") << "%HOME%\\a"
                               << "D:\\u\\a";
        QTest::newRow("name in other case") << "%home%\\a"
                                            << "D:\\u\\a";
        QTest::newRow("unknown kept") << "%NOPE%\\a"
                                      << "%NOPE%\\a";
        // After an unknown name the scan goes on past its closing percent sign, so the
        // second percent sign cannot open a new reference.
        QTest::newRow("unknown then known name") << "%NOPE%HOME%"
                                                 << "%NOPE%HOME%";
        QTest::newRow("double percent") << "a%%b"
                                        << "a%%b";
        QTest::newRow("unterminated") << "50%\\a"
                                      << "50%\\a";
        QTest::newRow("value with percent not rescanned") << "%PCT%"
                                                          << "%HOME%";
        QTest::newRow("chinese around") << "单%HOME%词"
                                        << "单D:\\u词";
    }
    void expandWith()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        FakeEnvironment env;
        env.variables = {{"HOME", "D:\\u"}, {"PCT", "%HOME%"}};
        QCOMPARE(env.expand(text).value(), expected);
    }

    void systemEnvironmentIgnoresCase()
    {
        qputenv("DORRIT_TEST_FOLDER", "/opt/x");
        const auto env = makeSystemEnvironment();
        QCOMPARE(env->expand("%DORRIT_TEST_FOLDER%/a").value(), QString("/opt/x/a"));
        QCOMPARE(env->expand("%dorrit_test_folder%/a").value(), QString("/opt/x/a"));
        QCOMPARE(env->expand("%DORRIT_TEST_UNSET%").value(), QString("%DORRIT_TEST_UNSET%"));
        qunsetenv("DORRIT_TEST_FOLDER");
    }
};

QTEST_GUILESS_MAIN(tst_Environment)
#include "tst_Environment.moc"
