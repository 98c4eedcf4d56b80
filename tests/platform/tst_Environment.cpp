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
        // clang-format off
        const std::tuple<const char *, QString, QString> rows[] = {
            {"known", "%HOME%\\a", "D:\\u\\a"}, {"name in other case", "%home%\\a", "D:\\u\\a"},
            {"unknown kept", "%NOPE%\\a", "%NOPE%\\a"}, {"double percent", "a%%b", "a%%b"},
            // After an unknown name the scan goes on past its closing percent sign.
            {"unknown then known name", "%NOPE%HOME%", "%NOPE%HOME%"}, {"unterminated", "50%\\a", "50%\\a"},
            {"value not rescanned", "%PCT%", "%HOME%"}, {"Chinese around", "单%HOME%词", "单D:\\u词"},
        };
        // clang-format on
        for (const auto &[name, text, expected] : rows)
            QTest::newRow(name) << text << expected;
    }
    void expandWith()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        FakeEnvironment env;
        env.variables = {{"HOME", "D:\\u"}, {"PCT", "%HOME%"}};
        QCOMPARE(env.expand(text).value(), expected);
    }

    // Windows names ignore case: a name that differs from a variable only in case finds it.
    void systemEnvironment()
    {
        qputenv("DORRIT_TEST_FOLDER", QByteArray(3000, 'f'));
        QCOMPARE(makeSystemEnvironment()->expand("%dorrit_test_folder%/a").value(), QString(3000, 'f') + "/a");
        QCOMPARE(makeSystemEnvironment()->expand("%DORRIT_UNSET%").value(), QString("%DORRIT_UNSET%"));
    }
};

QTEST_GUILESS_MAIN(tst_Environment)
#include "tst_Environment.moc"
