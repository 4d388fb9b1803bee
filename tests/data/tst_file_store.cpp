// Reading whatever stands at a file's name: only a regular file within the limit is read, and
// the answer comes at once whatever else is there.
#include "FileStore.h"
#include "TestSupport.h"

#include <QFile>

using namespace pelko;
using namespace pelko::test;

Q_DECLARE_METATYPE(pelko::ReadStatus)

class TestFileStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // kind: how the file "f" is made; bytes: written first (and read back when Ok). The limit
    // is 10 bytes.
    void read_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ReadStatus>("status");
        addRow("regular file", "", QByteArray("0,0\r\n"), ReadStatus::Ok);
        addRow("empty file", "", QByteArray(), ReadStatus::Ok);
        addRow("exactly the limit", "", QByteArray("0123456789"), ReadStatus::Ok);
        addRow("one byte over", "", QByteArray("0123456789A"), ReadStatus::TooLarge);
        addRow("missing", "missing", QByteArray(), ReadStatus::Missing);
        addRow("dangling symlink", "dangling", QByteArray(), ReadStatus::Missing);
        addRow("symlink to a file", "link", QByteArray("1,1\r\n"), ReadStatus::Ok);
        addRow("fifo", "fifo", QByteArray(), ReadStatus::Unreadable);
        addRow("folder", "folder", QByteArray(), ReadStatus::Unreadable);
        addRow("endless device", "device", QByteArray(), ReadStatus::Unreadable);
        addRow("link to device", "link to device", QByteArray(), ReadStatus::Unreadable);
        addRow("sparse 50 GB", "sparse 50 GB", QByteArray(), ReadStatus::TooLarge);
        addRow("no read permission", "no read permission", QByteArray("0,0\r\n"),
               ReadStatus::Unreadable);
    }

    void read()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(ReadStatus, status);
        WorkDir dir;
        const QString path = dir.filePath("f");
        if (kind == "link" || kind == "no read permission" || kind.isEmpty())
            dir.write(kind == "link" ? "target" : "f", bytes);
        if (kind == "link" || kind == "dangling")
            QVERIFY(QFile::link("target", path));
        else if (!kind.isEmpty() && kind != "missing" && kind != "link" && !placeOddity(path, kind))
            QSKIP("device nodes cannot be made here");
        FileRead read;
        {
            Unprivileged player(dir.path());
            read = readFile(path, 10);
        }
        QCOMPARE(read.status, status);
        QCOMPARE(read.bytes, status == ReadStatus::Ok ? bytes : QByteArray());
    }

    // Only names that a save makes, and only regular files, are removed.
    void leftovers()
    {
        WorkDir dir;
        const QStringList removed = {"clr_stat.dat.AbCdEf", "Pelko.ini.xYzWvU"};
        const QStringList kept = {"clr_stat.dat",     "clr_stat.dat.AbCdE1", "clr_stat.dat.AbCdEfG",
                                  "clr_stat.dat.bak", "Pelko.dat.AbCdEf",    "pelko.ini.AbCdEf",
                                  "Pelko.ini.QwErTy", "clr_stat.dat.Folder", "x"};
        for (const QString &name : removed + kept)
            dir.write(name == "clr_stat.dat.Folder" ? "x" : name, "1");
        QVERIFY(QFile::remove(dir.filePath("Pelko.ini.QwErTy"))
                && QFile::link("x", dir.filePath("Pelko.ini.QwErTy")));
        QVERIFY(placeOddity(dir.filePath("clr_stat.dat.Folder"), "folder"));
        QCOMPARE(removeSaveLeftovers(dir.path(), {"clr_stat.dat", "Pelko.ini"}), removed);
        QStringList left = kept;
        left.sort();
        QCOMPARE(dir.entries(), left);
    }
};

QTEST_GUILESS_MAIN(TestFileStore)
#include "tst_file_store.moc"
