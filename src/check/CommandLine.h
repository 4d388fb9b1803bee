#pragma once

#include "CheckMessages.h"

#include <QByteArrayList>
#include <QString>

#include <optional>

namespace pelko::check {

// What the command line asks for. File names stay the bytes given: decoding a name that is not
// valid UTF-8 and encoding it again would name another file.
struct CommandLine {
    Language lang = Language::English;
    bool help = false;
    bool version = false;
    QByteArrayList files;
    std::optional<UsageError> error; // the first fault found, with the argument it is about
    QString errorArgument;
};

// The language of the locale of messages, as POSIX names it: LC_ALL, LC_MESSAGES, then LANG, the
// first one set and not empty. Japanese for a Japanese locale, English for any other, C and POSIX
// and none at all too.
Language systemLanguage();

// Reads argv[1] on. `--lang=ja`, `--lang ja` and the like override lang, the last one given
// winning; the messages of a usage error come in the language that holds after every argument.
CommandLine parseCommandLine(int argc, const char *const argv[], Language lang);

} // namespace pelko::check
