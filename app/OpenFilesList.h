// kibfiles.xml: the documents that were open at the last close, one entry per
// child window in window order ("KIBFILES:COUNT", "KIBFILES:FILE%d" from 1).
#pragma once

#include <optional>
#include <string>
#include <vector>

// One child window: its document's full path (empty for a document never
// saved), or nullopt for a hidden window or one without a view (no key).
using OpenFileSlot = std::optional<std::string>;

// The file's bytes for these windows.
std::string OpenFilesListText(const std::vector<OpenFileSlot>& windows);
struct CParamSaveReport;

// Replaces fileName by the rules of CParamFile::Save; false when nothing was
// written. report, when given, says what happened.
bool WriteOpenFilesList(const std::string& fileName, const std::vector<OpenFileSlot>& windows,
                        CParamSaveReport* report = nullptr);

// The stored paths for n = 1..COUNT with empty and missing entries left out.
// A missing or unreadable file, or one without COUNT, gives nothing.
std::vector<std::string> ReadOpenFilesList(const std::string& fileName);

// The windows as they will stand once the reopening of the previous run has
// gone through the stored paths still waiting: each is opened, or the window
// of its open document comes to the front, on top of the windows there are.
// Written at a close in the middle of the reopening, the list is the one a
// close after it would write, and no stored path is lost.
std::vector<OpenFileSlot> WithPendingReopen(const std::vector<OpenFileSlot>& windows,
                                            const std::vector<std::string>& pending);

// The windows with the stored paths that were held back from reopening below
// them, in their order, less those a window has since opened: the next start
// reopens the same documents first and nothing of the list is lost.
std::vector<OpenFileSlot> WithHeldBack(const std::vector<OpenFileSlot>& windows,
                                       const std::vector<std::string>& heldBack);

// Whether a stored path names an existing file. A path written with the
// other separator is tried with this platform's one; returns the form that
// exists (empty when none does).
std::string ExistingStoredPath(const std::string& stored);
