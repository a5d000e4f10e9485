#include "kitprobe/JdkParamWriter.h"

#include "kitprobe/JdkWalker.h"
#include "settings/ParamFile.h"
#include "settings/ParamSaveReport.h"
#include "settings/SettingsFileCheck.h"

#include <sys/stat.h>

#include <cerrno>

bool CJdkParamWriter::IsStored(std::string_view text)
{
    return text != kNothingFound && CJdkWalker::IsStorablePath(text);
}

CJdkParamWriter::EResult CJdkParamWriter::Update(const std::string& fileName,
                                                 const CJdkChoices& choices,
                                                 CParamSaveReport* report)
{
    CParamSaveReport r;
    CParamFile file;
    if (!file.Load(fileName)) {
        // Missing is fine (a new file is made); present but unreadable would
        // be replaced by the four keys alone, losing every other setting.
        struct stat st {};
        if (lstat(fileName.c_str(), &st) == 0 || errno != ENOENT) {
            CSettingsFileCheck check = CSettingsFileCheck::Inspect(fileName, "KIBPARAMS");
            r = check.Refusal();
            if (check.MayReplace() || check.found == ESettingsFileFound::Damaged) {
                // It could be read just now, but not when it was loaded.
                r.found = ESettingsFileFound::Unreadable;
                r.error = EIO;
            }
            if (report)
                *report = r;
            return UNREADABLE;
        }
    }
    const std::pair<const char*, const std::string*> keys[] = {
        {kCompilerKey, &choices.compiler},
        {kInterpreterKey, &choices.interpreter},
        {kAppletViewerKey, &choices.appletViewer},
        {kDocumentationKey, &choices.documentation},
    };
    for (const auto& [key, value] : keys)
        if (IsStored(*value))
            file.SetString(key, *value);
    file.Save(fileName, &r);
    if (report)
        *report = r;
    switch (r.outcome) {
    case CParamSaveReport::WRITTEN:
    case CParamSaveReport::WRITTEN_AFTER_BACKUP:
        return WRITTEN;
    case CParamSaveReport::REFUSED:
        return REFUSED;
    case CParamSaveReport::FAILED:
        break;
    }
    return WRITE_FAILED;
}
