#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace pelko::test {

// A fresh working folder for one test, removed afterwards.
class WorkDir
{
public:
    WorkDir();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const;
    std::optional<QByteArray> read(const QString &name) const;
    bool exists(const QString &name) const;
    // Every entry of the folder, to prove that no stray file was left behind.
    QStringList entries() const;

private:
    QTemporaryDir m_dir;
};

} // namespace pelko::test
