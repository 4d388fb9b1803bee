#include "Settings.h"

#include <QTest>

using namespace pelko;
Q_DECLARE_METATYPE(pelko::SettingsValues)

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<SettingsValues>("values");
        QTest::newRow("one line") << QByteArray("12,3,1,1\r\n") << SettingsValues{12, 3, 1, 1};
        QTest::newRow("negative value") << QByteArray("0,-1,0,0\r\n") << SettingsValues{0, -1, 0, 0};
        QTest::newRow("four lines with blanks") << QByteArray(" 5 \r\n2\r\n 2\r\n1 \r\n")
                                                << SettingsValues{5, 2, 2, 1};
        QTest::newRow("empty file") << QByteArray() << SettingsValues{0, 0, 0, 0};
        QTest::newRow("two values only") << QByteArray("3,1\r\n") << SettingsValues{3, 1, 0, 0};
        QTest::newRow("a value beyond 16 bits and all after it count as 0")
            << QByteArray("4,99999,1,1\r\n") << SettingsValues{4, 0, 0, 0};
        QTest::newRow("text stops the reading") << QByteArray("2,abc,1,1\r\n") << SettingsValues{2, 0, 0, 0};
        QTest::newRow("anything after the fourth value is ignored")
            << QByteArray("1,2,1,0,9,x\r\n") << SettingsValues{1, 2, 1, 0};
    }

    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(SettingsValues, values);
        QCOMPARE(parseSettings(bytes), values);
    }

    void write_data()
    {
        QTest::addColumn<SettingsValues>("values");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("all regions, cleared, tree, confirm") << SettingsValues{0, 2, 1, 0}
                                                             << QByteArray("0,2,1,0\r\n");
        QTest::newRow("last region, on hold, both boxes") << SettingsValues{12, 3, 1, 1}
                                                          << QByteArray("12,3,1,1\r\n");
        QTest::newRow("no selection") << SettingsValues{-1, -1, 0, 0} << QByteArray("-1,-1,0,0\r\n");
    }

    void write()
    {
        QFETCH(SettingsValues, values);
        QFETCH(QByteArray, bytes);
        QCOMPARE(serializeSettings(values), bytes);
        QCOMPARE(parseSettings(bytes), values);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
