#include "AppIcon.h"

namespace pelko {

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/pelko-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace pelko
