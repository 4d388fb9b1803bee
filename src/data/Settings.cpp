#include "Settings.h"

#include "SequentialReader.h"

namespace pelko {

SettingsValues parseSettings(QByteArrayView bytes)
{
    SettingsValues values{};
    SequentialReader in(bytes);
    for (auto &value : values) {
        const auto v = in.readInt16();
        if (!v)
            break;
        value = *v;
    }
    return values;
}

QByteArray serializeSettings(const SettingsValues &values)
{
    QByteArray out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        out += QByteArray::number(values[i]);
    }
    return out + "\r\n";
}

} // namespace pelko
