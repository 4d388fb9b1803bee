#pragma once

#include <QString>

namespace pelko {

// The program's texts break lines with CR LF or a lone CR; Qt's widgets break them with LF.
QString toWidgetLineBreaks(const QString &text);

} // namespace pelko
