#pragma once

#include <QIcon>

namespace pelko {

// The program's own icon, drawn for this program, at 16, 32 and 48 pixels.
QIcon applicationIcon();

} // namespace pelko
