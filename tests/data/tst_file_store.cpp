// Reading whatever stands at a file's name: only a regular file within the limit is read, and
// the answer comes at once whatever else is there. (Saving is tested in tst_saving, the removal
// of what interrupted saves left in tst_damaged_inputs.)
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
};

QTEST_GUILESS_MAIN(TestFileStore)
#include "tst_file_store.moc"
