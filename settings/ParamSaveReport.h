// What a save of a settings file (kibparam.xml, kibfiles.xml) found at the
// file's place and did about it, and the German text that tells the user.
#pragma once

#include <string>

// What lies at a settings file's place before it is replaced.
enum class ESettingsFileFound {
    Missing,        // nothing: a new file is made
    Settings,       // a settings file that was read completely (or a blank one)
    Damaged,        // a file that could not be read completely or is no settings file
    Unreadable,     // a file this user cannot read, or a folder that cannot be searched
    NotAFile,       // a folder, a device, a pipe
    LinkToSettings, // a symbolic link whose final target is a settings file
    LinkToOther,    // a symbolic link to anything else
    DanglingLink,   // a symbolic link to nothing
    LinkLoop,       // symbolic links that lead round in a circle
};

struct CParamSaveReport {
    enum EOutcome {
        WRITTEN,              // the file was written
        WRITTEN_AFTER_BACKUP, // the old file was kept under backup, then the file written
        REFUSED,              // nothing was written: what is there is not Kib's to replace
        FAILED,               // writing failed; the old file is as it was
    };

    EOutcome outcome = FAILED;
    ESettingsFileFound found = ESettingsFileFound::Missing;
    std::string linkTarget; // the final target, for a link
    std::string backup;     // where the old file was kept
    int error = 0;          // errno of a failure, where there is one

    bool Written() const { return outcome == WRITTEN || outcome == WRITTEN_AFTER_BACKUP; }
    // Whether the user must hear of it: a backup or a refusal. A failed
    // write is for the caller to decide.
    bool NeedsTelling() const { return outcome == WRITTEN_AFTER_BACKUP || outcome == REFUSED; }
    // German (UTF-8) description of a backup, a refusal or a failure for
    // the file path; empty for a plain write.
    std::string Text(const std::string& path) const;
};
