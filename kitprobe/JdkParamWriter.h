// Puts the JDK paths chosen after a search into kibparam.xml: the file is
// loaded, at most the compiler, interpreter, applet-viewer and documentation
// keys are set, and everything is written back.
#pragma once

#include <string>
#include <string_view>

struct CParamSaveReport;

// The texts of the result boxes, as bytes.
struct CJdkChoices {
    std::string compiler;
    std::string interpreter;
    std::string appletViewer;
    std::string docGenerator; // shown to the user, never stored
    std::string documentation;
};

class CJdkParamWriter {
public:
    enum EResult {
        WRITTEN,      // the file was rewritten (perhaps after keeping a backup)
        WRITE_FAILED, // it could not be written; the old file is unchanged
        UNREADABLE,   // it exists but could not be read; left alone so nothing is lost
        REFUSED,      // it is no settings file of Kib's to replace (a link elsewhere…)
    };

    // report, when given, says what was found and done, for telling the user.
    static EResult Update(const std::string& fileName, const CJdkChoices& choices,
                          CParamSaveReport* report = nullptr);

    // Whether a box's text is stored: not the "nothing found" item, and
    // nothing the file format cannot hold.
    static bool IsStored(std::string_view text);

    static constexpr const char* kNothingFound = "nichts gefunden";
    static constexpr const char* kCompilerKey = "KIBPARAMS:JDK:COMPILER:PATH";
    static constexpr const char* kInterpreterKey = "KIBPARAMS:JDK:INTERPRETER:PATH";
    static constexpr const char* kAppletViewerKey = "KIBPARAMS:JDK:EXTRAS:AVPATH";
    static constexpr const char* kDocumentationKey = "KIBPARAMS:JDK:EXTRAS:DOCUPATH";
};
