#include "settings/ParamSaveReport.h"

#include "platform/ErrorText.h"

namespace {

std::string RefusalReason(const CParamSaveReport& r)
{
    switch (r.found) {
    case ESettingsFileFound::LinkToOther:
        return "Sie ist eine symbolische Verknüpfung auf " + r.linkTarget +
               ", und das ist keine Einstellungsdatei, die Kib lesen kann.";
    case ESettingsFileFound::DanglingLink:
        return "Sie ist eine symbolische Verknüpfung auf " + r.linkTarget +
               ", das es nicht gibt.";
    case ESettingsFileFound::LinkLoop:
        return "Sie ist eine symbolische Verknüpfung, die im Kreis führt.";
    case ESettingsFileFound::NotAFile:
        return "Dies ist keine normale Datei.";
    case ESettingsFileFound::Unreadable:
        return "Die vorhandene Datei kann nicht gelesen werden: " +
               platform::GermanErrorText(r.error);
    case ESettingsFileFound::Damaged:
        return "Sie konnte nicht vollständig gelesen werden, und es ließ sich keine "
               "Sicherungskopie anlegen: " +
               platform::GermanErrorText(r.error);
    default:
        return platform::GermanErrorText(r.error);
    }
}

} // namespace

std::string CParamSaveReport::Text(const std::string& path) const
{
    switch (outcome) {
    case WRITTEN:
        return {};
    case WRITTEN_AFTER_BACKUP:
        return "Die Datei " + path + " konnte nicht vollständig gelesen werden.\n"
               "Ihr bisheriger Inhalt wurde unverändert als " + backup +
               " gesichert, und die Datei wurde neu geschrieben.";
    case REFUSED:
        return "Die Datei " + path + " wurde nicht geschrieben. " + RefusalReason(*this);
    case FAILED:
        break;
    }
    return "Die Datei " + path + " konnte nicht geschrieben werden:\n" +
           platform::GermanErrorText(error);
}
