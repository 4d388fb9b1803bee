#include "AppIcon.h"

// The icons are compiled into the static pelko_app library, where nothing refers to them by
// name, so the linker would leave them out unless they are registered explicitly. The macro
// declares a function of the global namespace and must be used outside namespace pelko.
static void registerIconResources()
{
    Q_INIT_RESOURCE(pelko);
}

namespace pelko {

QIcon applicationIcon()
{
    static const bool registered = (registerIconResources(), true);
    Q_UNUSED(registered);
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/pelko-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace pelko
