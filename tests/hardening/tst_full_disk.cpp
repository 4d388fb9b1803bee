// Saving when the disk is full or the folder cannot be written: the previous file stays as it
// was, byte for byte, no temporary file is left behind, and the window reports the failure.
//
// A full disk is stood in for by RLIMIT_FSIZE: with SIGXFSZ ignored, a write() beyond the limit
// fails with EFBIG exactly where a full disk fails with ENOSPC, and it works for root too.
#include "ClearStatus.h"
#include "DatabaseBuilder.h"
#include "FileStore.h"
#include "MainWindowHarness.h"
#include "WorkDir.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ListBox.h"

#include <QDir>
#include <QRadioButton>
#include <QSaveFile>
#include <QtTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace pelko;
using namespace pelko::test;

namespace {

const QString kStatus = QStringLiteral("clr_stat.dat");
const QString kWriteError = QStringLiteral("データ書き込み中にエラーが発生しました。");
const QByteArray kOldStatus = "1,1\r\n0,1\r\n";

// A progress file much larger than the old one: every quest of 300 cleared.
QByteArray newStatus()
{
    ClearStatusTable table(300);
    for (int n = 1; n <= table.size(); ++n)
        table.set(n, Cleared);
    return serializeClearStatus(table);
}

// saveWholeFile in a child process whose files cannot grow beyond limit bytes. The limit and the
// ignored signal stay in the child. Nothing when the child did not end normally.
std::optional<bool> saveInChild(const QString &path, const QByteArray &bytes, rlim_t limit)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // write() then fails with EFBIG instead of ending us
        const rlimit rl{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &rl) != 0)
            ::_exit(3);
        ::_exit(saveWholeFile(path, bytes) ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

// Lowers this process's soft limit on file sizes for a scope; the hard limit is left alone so
// that the old limit can be restored.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit rl = m_saved;
        rl.rlim_cur = bytes;
        if (::setrlimit(RLIMIT_FSIZE, &rl) != 0)
            qFatal("cannot lower RLIMIT_FSIZE");
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
    void (*m_handler)(int) = SIG_DFL;
};

QByteArray contentOf(const WorkDir &dir, const QString &name)
{
    return dir.read(name).value_or(QByteArray("<missing>"));
}

QStringList boxTexts(MainWindowHarness &h)
{
    QStringList texts;
    for (const ShownMessage &m : h.boxes().shown())
        texts << m.text;
    return texts;
}

// A started window over three quests with quest 1 cleared and confirmation switched off.
void prepare(const WorkDir &dir)
{
    dir.write(QStringLiteral("Pelko.dat"),
              databaseBytes(
                  namedQuests({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})));
    dir.write(kStatus, kOldStatus);
    dir.write(QStringLiteral("Pelko.ini"), "0,0,0,1\r\n");
}

// Shows the quest at a position of the flat list and selects one of its progress options.
void changeProgress(MainWindowHarness &h, int position, int option)
{
    h.child<ListBox>(QStringLiteral("lstQuestList"))->setListIndex(position);
    auto *button = h.child<QRadioButton>(QStringLiteral("optQuestState%1").arg(option));
    QVERIFY(button->isEnabled());
    button->click();
}

} // namespace

class FullDisk : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void saveUnderSizeLimit_data();
    void saveUnderSizeLimit();
    void parentIsAFile();
    void targetIsAFolder();
    void readOnlyFolder();
    void saveFileDroppedWithoutCommit();
    void progressChangeOnFullDisk();
    void settingsAtCloseOnFullDisk();
};

void FullDisk::saveUnderSizeLimit_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("saved");
    const qint64 size = newStatus().size();
    QTest::newRow("nothing fits") << qint64(0) << false;
    QTest::newRow("one byte") << qint64(1) << false;
    QTest::newRow("half") << size / 2 << false;
    QTest::newRow("all but one byte") << size - 1 << false;
    QTest::newRow("exactly enough") << size << true;
}

void FullDisk::saveUnderSizeLimit()
{
    QFETCH(qint64, limit);
    QFETCH(bool, saved);
    WorkDir dir;
    dir.write(kStatus, kOldStatus);
    const QByteArray fresh = newStatus();

    const std::optional<bool> result = saveInChild(dir.filePath(kStatus), fresh, rlim_t(limit));
    QVERIFY(result.has_value());
    QCOMPARE(*result, saved);
    QCOMPARE(contentOf(dir, kStatus), QByteArray(saved ? fresh : kOldStatus));
    QCOMPARE(dir.entries(), QStringList{kStatus});
}

void FullDisk::parentIsAFile()
{
    // Not even root can create a file below a regular file.
    WorkDir dir;
    dir.write(QStringLiteral("notes"), "keep");
    QVERIFY(!saveWholeFile(dir.filePath(QStringLiteral("notes/clr_stat.dat")), newStatus()));
    QCOMPARE(contentOf(dir, QStringLiteral("notes")), QByteArray("keep"));
    QCOMPARE(dir.entries(), QStringList{QStringLiteral("notes")});
}

void FullDisk::targetIsAFolder()
{
    WorkDir dir;
    QVERIFY(QDir(dir.path()).mkdir(kStatus));
    QVERIFY(!saveWholeFile(dir.filePath(kStatus), newStatus()));
    QVERIFY(QFileInfo(dir.filePath(kStatus)).isDir());
    QVERIFY(QDir(dir.filePath(kStatus)).isEmpty());
    QCOMPARE(dir.entries(), QStringList{kStatus});
}

void FullDisk::readOnlyFolder()
{
    if (::geteuid() == 0)
        QSKIP("root writes into a folder whatever its mode; the file and full-disk cases cover it");
    WorkDir dir;
    dir.write(kStatus, kOldStatus);
    const auto writable = QFile::permissions(dir.path());
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const bool saved = saveWholeFile(dir.filePath(kStatus), newStatus());
    QFile::setPermissions(dir.path(), writable);
    QVERIFY(!saved);
    QCOMPARE(contentOf(dir, kStatus), QByteArray(kOldStatus));
    QCOMPARE(dir.entries(), QStringList{kStatus});
}

void FullDisk::saveFileDroppedWithoutCommit()
{
    WorkDir dir;
    dir.write(kStatus, kOldStatus);
    {
        QSaveFile file(dir.filePath(kStatus));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(newStatus()), qint64(newStatus().size()));
        QVERIFY(file.flush());
    }
    QCOMPARE(contentOf(dir, kStatus), QByteArray(kOldStatus));
    QCOMPARE(dir.entries(), QStringList{kStatus});
}

void FullDisk::progressChangeOnFullDisk()
{
    WorkDir dir;
    prepare(dir);
    const QStringList files = dir.entries();
    MainWindowHarness h(dir);
    QVERIFY(h.start());
    QVERIFY(h.boxes().shown().empty());

    {
        FileSizeLimit full(0);
        changeProgress(h, 1, OnHold); // quest B
    }
    QCOMPARE(boxTexts(h), QStringList{kWriteError});
    QCOMPARE(h.boxes().shown().front().icon, MsgIcon::Critical);
    QCOMPARE(contentOf(dir, kStatus), QByteArray(kOldStatus));
    QCOMPARE(dir.entries(), files);

    // The program goes on with the change in memory, and the next save that can be written
    // carries it too.
    h.boxes().clearShown();
    changeProgress(h, 2, Cleared); // quest C
    QVERIFY2(h.boxes().shown().empty(), qPrintable(boxTexts(h).join(u'|')));
    QCOMPARE(contentOf(dir, kStatus), QByteArray("1,1\r\n2,2\r\n3,1\r\n0,8\r\n"));
    QCOMPARE(dir.entries(), files);
}

void FullDisk::settingsAtCloseOnFullDisk()
{
    WorkDir dir;
    prepare(dir);
    const QStringList files = dir.entries();
    MainWindowHarness h(dir);
    QVERIFY(h.start());
    h.child<CheckBox>(QStringLiteral("chkTreeView"))->setValue(1);
    {
        FileSizeLimit full(0);
        h.window().close();
    }
    QCOMPARE(boxTexts(h), QStringList{kWriteError});
    QCOMPARE(h.boxes().shown().front().icon, MsgIcon::Critical);
    QCOMPARE(contentOf(dir, QStringLiteral("Pelko.ini")), QByteArray("0,0,0,1\r\n"));
    QCOMPARE(contentOf(dir, kStatus), QByteArray(kOldStatus));
    QCOMPARE(dir.entries(), files);
}

QTEST_MAIN(FullDisk)
#include "tst_full_disk.moc"
