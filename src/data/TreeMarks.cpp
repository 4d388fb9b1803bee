#include "TreeMarks.h"

namespace pelko {

QString treeMarkText(TreeMark mark)
{
    switch (mark) {
    case TreeMark::Branch:
        return QStringLiteral("　├");
    case TreeMark::End:
        return QStringLiteral("　└");
    case TreeMark::None:
        break;
    }
    return {};
}

bool startsWithTreeMark(QStringView text)
{
    return text.startsWith(treeMarkText(TreeMark::Branch))
           || text.startsWith(treeMarkText(TreeMark::End));
}

} // namespace pelko
