// The texts the compile and run commands show. Message-box texts are UTF-8
// (for wxString::FromUTF8), and so are pane texts.
#pragma once

#include <string>

namespace toolchain {

// Message boxes.
inline constexpr char kMsgMustSaveBeforeCompile[] =
    "Sie müssen die Datei vor dem Compilieren speichern";
inline constexpr char kMsgCouldNotStart[] = "<%s> konnte nicht gestartet werden";
inline constexpr char kMsgErrorCaption[] = "Fehler!";
// Follows kMsgCouldNotStart when a console run finds no terminal at all.
inline constexpr char kMsgNoTerminal[] =
    "Es ist kein Terminal vorhanden, in dem das Programm laufen könnte "
    "(gesucht: $TERMINAL, x-terminal-emulator, xterm).";

// The compile progress window.
inline constexpr char kProgressCaption[] = "Compilieren";
inline constexpr char kProgressBusy[] = "wird gerade compiliert...";
// Room of the progress window's file text, the terminating NUL included.
inline constexpr int kProgressPathRoom = 55;

// "Argumente für Start".
inline constexpr char kArgsCaption[] = "Argumente für Start";
inline constexpr char kArgsPrompt[] = "Welche Argumente sollen an das Java Programm übergeben werden";
inline constexpr char kArgsSection[] = "\\Arguments";
inline constexpr char kArgsPrefix[] = "ArgKey";
inline constexpr char kArgsLastEntry[] = "LastEntry";

// "Startdateien konfigurieren" and its "Datei auswählen".
inline constexpr char kStartFilesCaption[] = "Startdateien konfigurieren";
inline constexpr char kStartFilesList[] = "Vorhandene Startdateien:";
inline constexpr char kStartFilesNew[] = "Neuer Eintrag...";
inline constexpr char kStartFilesChange[] = "Eintrag ändern...";
inline constexpr char kStartFilesDelete[] = "Eintrag löschen...";
inline constexpr char kStartFilesDeleteAsk[] = "Soll dieser Eintrag wirklich gelöscht werden?";
inline constexpr char kStartFilesDeleteCaption[] = "Eintrag löschen";
inline constexpr char kStartFileCaption[] = "Datei auswählen";
inline constexpr char kStartFileLabel[] = "&Startdatei:";
inline constexpr char kStartFileBrowse[] = "...";
inline constexpr char kStartFilePattern[] = "*.java";

// "Applet starten".
inline constexpr char kAppletCaption[] = "Applet starten";
inline constexpr char kAppletText[] =
    "Ein Applet wird über eine HTML-Seite gestartet. Für diese Datei gibt es noch keine.\n\n"
    "Soll Kib die Seite jetzt erzeugen?";
inline constexpr char kAppletCreateStart[] = "Erzeugen und &Starten";
inline constexpr char kAppletCreateEdit[] = "Erzeugen und &Editieren";
inline constexpr char kMsgPageNotWritten[] = "Die Seite %s konnte nicht geschrieben werden:\n%s";

inline constexpr char kButtonOk[] = "OK";
inline constexpr char kButtonCancel[] = "Abbrechen";

// Pane texts.
inline constexpr char kPaneCompileFinished[] = "Compilierung beendet";
inline constexpr char kPaneBomHint[] =
    "Hinweis: Die Datei beginnt mit einer Byte-Order-Mark (UTF-8 mit BOM). javac liest sie als Zeichen "
    "\\ufeff und meldet es als unzulässig; ohne BOM gespeichert wird die Datei übersetzt.";

// The one line a failed warm compiler leaves before the javac process's output.
inline constexpr char kPaneWarmCompilerFailed[] =
    "(Der schnelle Compiler hat nicht geantwortet; javac wird als eigener Prozess gestartet.)\r\n";

// "Compile <path>....\r\n", the first line of the compiler output pane;
// "Compile <path> -encoding <name>....\r\n" when javac is told the encoding.
// A source that starts with a byte order mark gets the hint line after it,
// since javac refuses the mark with a message that does not say why.
std::string CompileHeadingText(const std::string& sourcePath, const std::string& sourceEncoding = {},
                               bool sourceHasBom = false);
// "\r\nCompilierung beendet", written when the compiler has ended.
std::string CompileFinishedText();
// "<name> konnte nicht gestartet werden".
std::string CouldNotStartMessage(const std::string& name);
// The same, a blank line, and that no terminal exists.
std::string NoTerminalMessage(const std::string& name);
// "Die Datei <path compacted to fit the progress window>".
std::string CompileProgressText(const std::string& sourcePath);

// Shortens a path to at most room − 1 characters by putting "..." in place of
// folders in the middle, keeping its start and its file name (the file name
// itself is cut at its end when even that does not fit).
std::string CompactPath(const std::string& path, int room);

} // namespace toolchain
