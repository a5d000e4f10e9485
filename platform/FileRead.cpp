#include "platform/FileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

bool ReadWholeFile(const std::string& path, std::string& out, int* err)
{
    auto fail = [&](int e) {
        if (err)
            *err = e;
        return false;
    };
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        int e = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        close(fd);
        return fail(e);
    }
    std::string data;
    data.resize(static_cast<size_t>(st.st_size));
    size_t have = 0;
    for (;;) {
        if (have == data.size())
            data.resize(data.size() + 65536); // the file may have grown
        ssize_t n = read(fd, data.data() + have, data.size() - have);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int e = errno;
            close(fd);
            return fail(e);
        }
        if (n == 0)
            break;
        have += static_cast<size_t>(n);
    }
    close(fd);
    data.resize(have);
    out = std::move(data);
    if (err)
        *err = 0;
    return true;
}

} // namespace platform
