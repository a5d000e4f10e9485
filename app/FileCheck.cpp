#include "app/FileCheck.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileProblem CheckFileForOpening(const std::string& path, int64_t maxBytes, int64_t* size)
{
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0)
        return errno == EACCES ? FileProblem::NoPermission : FileProblem::NotFound;
    if (size)
        *size = st.st_size;
    if (S_ISDIR(st.st_mode))
        return FileProblem::IsDirectory;
    if (!S_ISREG(st.st_mode))
        return FileProblem::NotRegular;
    if (access(path.c_str(), R_OK) != 0)
        return FileProblem::NoPermission;
    if (st.st_size > maxBytes)
        return FileProblem::TooLarge;
    return FileProblem::None;
}
