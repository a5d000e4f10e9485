#include "kitprobe/JdkParamWriter.h"

#include "kitprobe/JdkWalker.h"
#include "settings/ParamFile.h"

#include <sys/stat.h>

#include <cerrno>

bool CJdkParamWriter::IsStored(std::string_view text)
{
    return text != kNothingFound && CJdkWalker::IsStorablePath(text);
}

CJdkParamWriter::EResult CJdkParamWriter::Update(const std::string& fileName,
                                                 const CJdkChoices& choices)
{
    CParamFile file;
    if (!file.Load(fileName)) {
        // Missing is fine (a new file is made); present but unreadable would
        // be replaced by the four keys alone, losing every other setting.
        struct stat st {};
        if (stat(fileName.c_str(), &st) == 0 || errno != ENOENT)
            return UNREADABLE;
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
    return file.Save(fileName) ? WRITTEN : WRITE_FAILED;
}
