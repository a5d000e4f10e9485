#include "platform/ErrorText.h"

#include <cerrno>

namespace platform {

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

} // namespace platform
