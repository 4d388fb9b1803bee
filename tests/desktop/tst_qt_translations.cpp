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
        QTest::addColumn<QStringList>("texts"); // OK, Cancel, the context menu's first command
        QTest::newRow("Japanese") << "ja_JP.UTF-8"
                                  << QStringList{"OK", "キャンセル", "元に戻す(&U)"};
        QTest::newRow("C") << "C" << QStringList{"OK", "Cancel", "&Undo"};
        QTest::newRow("German") << "de_DE.UTF-8" << QStringList{"OK", "Abbrechen", "&Rückgängig"};
    }
    void followSystemLanguage()
    {
        QFETCH(QString, lang);
        QFETCH(QStringList, texts);
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
        QCOMPARE(QString::fromUtf8(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 texts);
    }
};

QTEST_GUILESS_MAIN(TestQtTranslations)
#include "tst_qt_translations.moc"
