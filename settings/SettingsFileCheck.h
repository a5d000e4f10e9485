// Looks at the place of a settings file before it is replaced: what is there,
// where a symbolic link leads, and whether that is a settings file read
// completely, so that a save never writes over something that is not one.
#pragma once

#include "settings/ParamSaveReport.h"

#include <string>
#include <string_view>

class CSettingsFileCheck {
public:
    // root is the name of the root element the file must have; a regular
    // file holding nothing at all counts as a settings file too, a link's
    // target must hold at least the root element.
    static CSettingsFileCheck Inspect(const std::string& path, std::string_view root);

    // Whether a save may write: to a missing or complete file, or through a
    // link to a complete one. A damaged file needs its backup first.
    bool MayReplace() const;
    // The report of a save that wrote nothing because of what was found.
    CParamSaveReport Refusal() const;

    ESettingsFileFound found = ESettingsFileFound::Missing;
    bool isLink = false;
    std::string target; // the path to write: absolute, links followed
    std::string bytes;  // what the file held, when it was read
    int error = 0;      // errno of what stood in the way
};
