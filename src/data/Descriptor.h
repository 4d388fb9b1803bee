#pragma once

#include <unistd.h>

namespace pelko {

// A file descriptor, closed on every way out; release() hands it over for a checked close.
struct Descriptor {
    int fd;
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    int release()
    {
        const int out = fd;
        fd = -1;
        return out;
    }
};

} // namespace pelko
