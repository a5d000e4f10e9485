// The texts the compile and run commands show. Message-box texts are UTF-8
// (for wxString::FromUTF8); pane texts are plain ASCII bytes.
#pragma once

#include <string>

namespace toolchain {

// Message boxes.
inline constexpr char kMsgMustSaveBeforeCompile[] =
    "Sie müssen die Datei vor dem Compilieren speichern";
inline constexpr char kMsgCouldNotStart[] = "<%s> konnte nicht gestartet werden";
inline constexpr char kMsgErrorCaption[] = "Fehler!";

// The compile progress window.
inline constexpr char kProgressCaption[] = "Compilieren";
inline constexpr char kProgressFile[] = "Die Datei %s";
inline constexpr char kProgressBusy[] = "wird gerade compiliert...";
// Room of the progress window's file text, the terminating NUL included.
inline constexpr int kProgressPathRoom = 55;

// Pane texts.
inline constexpr char kPaneCompileHeading[] = "Compile %s....";
inline constexpr char kPaneCompileFinished[] = "Compilierung beendet";

// "Compile <path>....\r\n", the first line of the compiler output pane.
std::string CompileHeadingText(const std::string& sourcePath);
// "\r\nCompilierung beendet", written when the compiler has ended.
std::string CompileFinishedText();
// "<name> konnte nicht gestartet werden".
std::string CouldNotStartMessage(const std::string& name);
// "Die Datei <path compacted to fit the progress window>".
std::string CompileProgressText(const std::string& sourcePath);

// Shortens a path to at most room − 1 characters by putting "..." in place of
// folders in the middle, keeping its start and its file name (the file name
// itself is cut at its end when even that does not fit).
std::string CompactPath(const std::string& path, int room);

} // namespace toolchain
