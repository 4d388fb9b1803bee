#include "WorkDir.h"

#include <QDir>
#include <QFile>

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

std::optional<QByteArray> WorkDir::read(const QString &name) const
{
    QFile f(filePath(name));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

bool WorkDir::exists(const QString &name) const
{
    return QFile::exists(filePath(name));
}

QStringList WorkDir::entries() const
{
    return QDir(path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace pelko::test
