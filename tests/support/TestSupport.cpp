#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace pelko::test {

WorkDir::WorkDir()
{
    if (!m_dir.isValid())
        qFatal("cannot create a temporary folder");
}

void WorkDir::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write a test file");
}

QByteArray WorkDir::file(const QString &name) const
{
    QFile f(filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : "(none)";
}

QStringList WorkDir::entries() const
{
    return QDir(path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

QByteArray ansi(const QString &text)
{
    QStringEncoder encoder("windows-31j");
    QByteArray bytes = encoder(text);
    if (encoder.hasError())
        qFatal("test text not representable in code page 932");
    return bytes;
}

QByteArray databaseBytes(const std::vector<Quest> &quests, bool withEndRecord)
{
    QByteArray out;
    int row = 0;
    for (const Quest &q : quests) {
        ++row;
        out += "0," + QByteArray::number(q.region) + ',' + QByteArray::number(q.chainNo) + ','
               + QByteArray::number(q.questNo ? q.questNo : row);
        for (const QString *t : {&q.name, &q.client, &q.process, &q.reward1, &q.reward2})
            out += ",\"" + ansi(*t) + '"';
        out += "\r\n";
    }
    return withEndRecord ? out + "0,99,0,0,\"\",\"\",\"\",\"\",\"\"\r\n" : out;
}

std::vector<Quest> namedQuests(const QStringList &names)
{
    std::vector<Quest> quests;
    for (const QString &n : names)
        quests.push_back({1, 0, 0, n});
    return quests;
}

Folder::Folder(const std::vector<Quest> &quests, const std::optional<QByteArray> &progress,
               const std::optional<QByteArray> &ini)
{
    write("Pelko.dat", databaseBytes(quests));
    if (progress)
        write("clr_stat.dat", *progress);
    if (ini)
        write("Pelko.ini", *ini);
}

constexpr uid_t kNobody = 65534;

bool placeOddity(const QString &path, const QString &kind)
{
    const QByteArray native = QFile::encodeName(path);
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(native.constData(), 0666) == 0;
    if (kind == QLatin1String("folder"))
        return ::mkdir(native.constData(), 0777) == 0;
    if (kind == QLatin1String("device")) // a private node of /dev/zero
        return ::mknod(native.constData(), S_IFCHR | 0666, makedev(1, 5)) == 0;
    if (kind == QLatin1String("link to device"))
        return placeOddity(path + ".endless", "device")
               && QFile::link(QFileInfo(path).fileName() + ".endless", path);
    if (kind == QLatin1String("sparse 50 GB"))
        return QFile(path).open(QIODevice::WriteOnly) && QFile::resize(path, 50LL << 30);
    if (kind == QLatin1String("no read permission"))
        return ::chmod(native.constData(), 0222) == 0;
    qFatal("unknown oddity %s", qPrintable(kind));
}

QByteArray fingerprint(const QString &path)
{
    QByteArray out;
    for (bool follow : {false, true}) {
        struct stat st {
        };
        const QByteArray native = QFile::encodeName(path);
        if ((follow ? ::stat(native.constData(), &st) : ::lstat(native.constData(), &st)) != 0) {
            out += "none;";
            continue;
        }
        out += QByteArray::number(st.st_mode, 8) + ' ' + QByteArray::number(qint64(st.st_size))
               + ' ' + QByteArray::number(qulonglong(st.st_rdev)) + ';';
        QFile file(path);
        if (follow && S_ISREG(st.st_mode) && st.st_size < (1 << 20)
            && file.open(QIODevice::ReadOnly))
            out += file.readAll();
    }
    return out;
}

Unprivileged::Unprivileged(const QString &folder)
{
    if (::geteuid() != 0)
        return;
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    m_groups.resize(std::size_t(::getgroups(0, nullptr)));
    m_groups.resize(std::size_t(::getgroups(int(m_groups.size()), m_groups.data())));
    // The effective ids only: the saved ones stay root, so that the destructor can return.
    if (::setgroups(0, nullptr) != 0 || ::setegid(kNobody) != 0 || ::seteuid(kNobody) != 0)
        qFatal("cannot act as nobody");
    m_dropped = true;
}

Unprivileged::~Unprivileged()
{
    if (m_dropped
        && (::seteuid(0) != 0 || ::setegid(0) != 0
            || ::setgroups(m_groups.size(), m_groups.data()) != 0))
        qFatal("cannot return to root");
}

} // namespace pelko::test
