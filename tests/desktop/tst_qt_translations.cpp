// Qt's own texts (the standard buttons of the confirmation prompt, a text box's context menu)
// follow the language of the system the program is started on.
#include <QProcess>
#include <QTest>

class TestQtTranslations : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void followSystemLanguage_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("texts"); // OK, Cancel, the context menu's first command
        QTest::newRow("Japanese") << "ja_JP.UTF-8"
                                  << "OK\nキャンセル\n元に戻す(&U)\n";
        QTest::newRow("C") << "C"
                           << "OK\nCancel\n&Undo\n";
        QTest::newRow("German") << "de_DE.UTF-8"
                                << "OK\nAbbrechen\n&Rückgängig\n";
    }
    void followSystemLanguage()
    {
        QFETCH(QString, lang);
        // Started as from a desktop session whose language is LANG alone.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(name);
        env.insert("LANG", lang);
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(PROBE), {});
        QVERIFY(probe.waitForFinished(30000));
        QCOMPARE(probe.exitCode(), 0);
        QTEST(QString::fromUtf8(probe.readAllStandardOutput()), "texts");
    }
};

QTEST_GUILESS_MAIN(TestQtTranslations)
#include "tst_qt_translations.moc"
