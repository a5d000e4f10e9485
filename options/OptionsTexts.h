// The options dialog's German texts (UTF-8), word for word as the dialog
// shows them, typing errors included. The list entries' texts are in the
// string table.
#pragma once

namespace optiontexts {

// Page titles (the tree's texts).
inline constexpr const char* kTitleGui = "Benutzeroberfläche";
inline constexpr const char* kTitleFullscreen = "Fullscreen";
inline constexpr const char* kTitleOutputFont = "Outputfenster";
inline constexpr const char* kTitleJdk = "Java JDK";
inline constexpr const char* kTitleCompiler = "Compiler";
inline constexpr const char* kTitleInterpreter = "Interpreter";
inline constexpr const char* kTitleEditor = "Editor";
inline constexpr const char* kTitleColours = "Farben";
inline constexpr const char* kTitleEditorFont = "Schriftart";
inline constexpr const char* kTitleSyntax = "Syntax Highlighting";
inline constexpr const char* kTitleTextblocks = "Textblöcke";

// "Benutzeroberfläche"
inline constexpr const char* kGuiIntro = "Welche Art von Benutzerobefläche soll für KIB verwendet werden:";
inline constexpr const char* kGuiStyleGroup = "&Stil der Benutzeroberfläche";
inline constexpr const char* kGuiOfficeXp = "&Office XP Look";
inline constexpr const char* kGuiBunt = "\"&Bunt\"-Look";
inline constexpr const char* kGuiMac = "&MAC Look";
inline constexpr const char* kGuiWindows = "&Windows \"08/15\"";
inline constexpr const char* kGuiWindowsGroup = "Editor&fenster";
inline constexpr const char* kGuiTabs = "Editorfenster werden mit &Karteireitern dargestellt";
inline constexpr const char* kGuiMaximized = "Fenster ma&ximiert öffnen";
inline constexpr const char* kGuiExplorerGroup = "Dateiexplorer";
inline constexpr const char* kGuiMask = "Anzuzeigende Datei&endungen (mit ; getrennt):";

// "Fullscreen"
inline constexpr const char* kFullIntro =
    "Welche Welche Teile der Oberfläche sollen im Fullscreen-Modus sichtbar sein";
inline constexpr const char* kFullGroup = "&Bestandteile der Benutzeroberfläche";
inline constexpr const char* kFullMenu = "Menüleiste";
inline constexpr const char* kFullToolbar = "&Toolbar";
inline constexpr const char* kFullOutput = "&Ausgabebereich";
inline constexpr const char* kFullStatus = "&Statusleiste";
inline constexpr const char* kFullWorkspace = "&Workspace-Bar";

// The font pages.
inline constexpr const char* kFontOutputIntro = "Wählen Sie die Schriftart, die für die Outputfenster benutzt werden soll.";
inline constexpr const char* kFontEditorIntro = "Wählen Sie die Schriftart, die für das Editorfenster benutzt werden soll.";
inline constexpr const char* kFontName = "&Schriftart:";
inline constexpr const char* kFontSize = "&Größe:";
inline constexpr const char* kFontSampleGroup = "Beispiel";
inline constexpr const char* kFontSample = "Kleiner Test!";

// "Java JDK"
inline constexpr const char* kJdkIntro = "Geben Sie hier die Pfad der JDK Bestandteile an.";
inline constexpr const char* kJdkAppletViewer = "&Applet Viewer:";
inline constexpr const char* kJdkDocs = "JDK &Dokumentation:";
inline constexpr const char* kJdkClassPath = "Zusätzlicher &Klassenpfad:";
inline constexpr const char* kBrowse = "...";

// "Compiler"
inline constexpr const char* kCompilerPath = "&Pfad des Compilers:";
inline constexpr const char* kCompilerSwitches = "Compilerschalter";
inline constexpr const char* kCompilerDebug = "&Debugger Informationen integrieren";
inline constexpr const char* kCompilerOptimize = "&Optimieren";
inline constexpr const char* kCompilerNoWarnings = "Keine &Warnungen ausgeben";
inline constexpr const char* kCompilerStatus = "Compiler&statusmeldungen";
inline constexpr const char* kCompilerDeprecated = "&Deprecated Warnungen unter-\ndrücken";
inline constexpr const char* kCompilerDestination = "&Zielpfad:";
inline constexpr const char* kCompilerAutoSave = "Automatisches &Speichern vor Compilieren (ohne Rückfrage)";
inline constexpr const char* kCompilerAllFiles = "&Alle Dateien";
inline constexpr const char* kCompilerThisFile = "Zu compilierende &Datei";

// "Interpreter"
inline constexpr const char* kInterpreterIntro =
    "Geben Sie hier alle Parameter an, die zur Nutzung des Java Interpreters notwendig sind";
inline constexpr const char* kInterpreterPath = "&Pfad des Interpreters:";
inline constexpr const char* kInterpreterCapture = "&Konsolenausgaben des Programmes in KIB Ausgabe Fenster umleiten";
inline constexpr const char* kInterpreterStop = "&Nach Ausführen anhalten";

// "Editor"
inline constexpr const char* kEditorTabsGroup = "Tabs";
inline constexpr const char* kEditorTabsAsSpaces = "Tabs als &Leerzeichen einfügen";
inline constexpr const char* kEditorShowTabs = "&Tabs und Leerzeichen anzeigen";
inline constexpr const char* kEditorTabWidth = "Tab&weite:";
inline constexpr const char* kEditorChars = "Zeichen";
inline constexpr const char* kEditorFilesGroup = "Dateien";
inline constexpr const char* kEditorReopen = "Zuletzt geöffnete Dateien beim Start &neu öffnen";
inline constexpr const char* kEditorReload = "Dateien bei externer Änderung neu &laden";
inline constexpr const char* kEditorIndent = "Nach &geschweiften Klammern einrücken";
inline constexpr const char* kEditorMatchBrace = "Zugehörige öffnende oder schließende\ngeschweifte &Klammer hervorheben";
inline constexpr const char* kEditorLineNumbers = "&Zeilennummern anzeigen";
inline constexpr const char* kEditorSplash = "&Startbild anzeigen";
inline constexpr const char* kEditorGuide = "Hilfslinie im Text anzeigen";
inline constexpr const char* kEditorGuideAt = "bei ";

// "Farben" and "Syntax Highlighting"
inline constexpr const char* kColourFor = "&Farbe für";
inline constexpr const char* kForeground = "Vordergrund:";
inline constexpr const char* kBackground = "Hintergrund:";
inline constexpr const char* kRestoreColours = "&Standards wiederherstellen";
inline constexpr const char* kStyleGroup = "Schriftstil";
inline constexpr const char* kStyleBold = "F&ett";
inline constexpr const char* kStyleItalic = "&Kursiv";
inline constexpr const char* kStyleUnderline = "&Unterstrichen";

// "Textblöcke"
inline constexpr const char* kBlocksIntro =
    "Hier können Sie Textblöcke definieren, die Sie mit Shift + Strg + Funktionstaste im Editor "
    "einfügen können";
inline constexpr const char* kBlocksMarker =
    "Das Zeichen \"§\" markiert die Cursorposition nach dem Einfügen in den Editor.";
inline constexpr const char* kBlocksKey = "&Funktionstaste:";
inline constexpr const char* kBlocksName = "&Name im Menü";
inline constexpr const char* kBlocksContent = "&Textblock:";
inline constexpr const char* kBlocksRestore = "&Standard wiederherstellen";
inline constexpr const char* kBlocksDelete = "&Löschen";

} // namespace optiontexts
