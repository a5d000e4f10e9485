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

std::string GermanErrorText(int err)
{
    switch (err) {
    case 0: return "Unbekannter Fehler.";
    case EACCES:
    case EPERM: return "Zugriff verweigert.";
    case ENOENT: return "Die Datei oder der Ordner wurde nicht gefunden.";
    case ENOTDIR: return "Ein Teil des Pfades ist kein Ordner.";
    case EISDIR: return "Der Pfad bezeichnet einen Ordner.";
    case ENOSPC: return "Auf dem Datenträger ist kein Platz mehr frei.";
    case EDQUOT: return "Das Speicherkontingent ist erschöpft.";
    case EROFS: return "Der Datenträger ist schreibgeschützt.";
    case ENAMETOOLONG: return "Der Dateiname ist zu lang.";
    case EIO: return "Ein Ein-/Ausgabefehler ist aufgetreten.";
    case ELOOP: return "Zu viele symbolische Verknüpfungen.";
    case EFBIG: return "Die Datei ist zu groß.";
    case ENOMEM: return "Nicht genügend Arbeitsspeicher.";
    default: return "Systemfehler " + std::to_string(err) + ".";
    }
}
