#include "FileStore.h"

#include <QFile>
#include <QSaveFile>

namespace pelko {
namespace {
SaveObserver saveObserver;
} // namespace

void setSaveObserver(SaveObserver observer)
{
    saveObserver = std::move(observer);
}

std::optional<QByteArray> readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool saveWholeFile(const QString &path, const QByteArray &bytes)
{
    if (saveObserver)
        saveObserver(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Each step is checked: a short write that surfaces only in commit()'s own flush would
    // otherwise be reported as success. Leaving without commit() discards the temporary file.
    if (file.write(bytes) != bytes.size())
        return false;
    if (!file.flush())
        return false;
    return file.commit();
}

} // namespace pelko
