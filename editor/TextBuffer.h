// The text of one open document as a table of lines: reading and saving,
// every insertion and deletion, the undo history, line flags (bookmarks), and
// the change notices that keep every attached view up to date.
#pragma once

#include "platform/FileStamp.h"
#include "editor/LineTable.h"
#include "editor/TextBufferListener.h"
#include "editor/TextChange.h"
#include "editor/TextPos.h"
#include "text/TextEncoding.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Line flags: numbered bookmarks 0-9 (each on at most one line) and the
// unnumbered bookmark (any number of lines).
inline constexpr uint32_t LINE_BOOKMARK_0 = 0x0001;
inline constexpr uint32_t LINE_BOOKMARK_1 = 0x0002;
inline constexpr uint32_t LINE_BOOKMARK_2 = 0x0004;
inline constexpr uint32_t LINE_BOOKMARK_3 = 0x0008;
inline constexpr uint32_t LINE_BOOKMARK_4 = 0x0010;
inline constexpr uint32_t LINE_BOOKMARK_5 = 0x0020;
inline constexpr uint32_t LINE_BOOKMARK_6 = 0x0040;
inline constexpr uint32_t LINE_BOOKMARK_7 = 0x0080;
inline constexpr uint32_t LINE_BOOKMARK_8 = 0x0100;
inline constexpr uint32_t LINE_BOOKMARK_9 = 0x0200;
inline constexpr uint32_t LINE_MARK = 0x80000;
inline constexpr uint32_t LINE_FLAGS_ALL = 0x803FF;
static_assert((LINE_FLAGS_ALL & CLineTable::kOwnBits) == 0);
constexpr uint32_t LineBookmark(int n) { return 1u << n; } // n in 0..9

// Line-end styles.
inline constexpr int EOL_CRLF = 0; // 0D 0A
inline constexpr int EOL_LFCR = 1; // 0A 0D
inline constexpr int EOL_LF = 2;   // 0A

// Notification flags passed with each change notice.
inline constexpr uint32_t NOTIFY_WIDTH = 0x0001;     // a line's length changed
inline constexpr uint32_t NOTIFY_LINECOUNT = 0x0002; // the number of lines changed
inline constexpr uint32_t NOTIFY_ONELINE = 0x0100;   // only the named line changed
inline constexpr uint32_t NOTIFY_FLAGS = 0x0200;     // only that line's flags changed
inline constexpr uint32_t NOTIFY_RESET = 0x1000;     // the whole text was replaced

// Undo action codes.
enum : int {
    ACT_UNKNOWN = 0,
    ACT_PASTE = 1,
    ACT_DELSEL = 2,
    ACT_CUT = 3,
    ACT_TYPING = 4,
    ACT_BACKSPACE = 5,
    ACT_INDENT = 6,
    ACT_DRAGDROP = 7,
    ACT_REPLACE = 8,
    ACT_DELETE = 9,
    ACT_AUTOINDENT = 10,
    ACT_AUTOCOMPLETE = 11,
    ACT_AUTOEXPAND = 12,
    ACT_LOWERCASE = 13,
    ACT_UPPERCASE = 14,
    ACT_SWAPCASE = 15,
    ACT_CAPITALIZE = 16,
    ACT_SENTENCE = 17,
    ACT_UNCOMMENT = 18,
    ACT_COMMENT = 19,
    ACT_TABS_TO_SPACES = 201,
    ACT_SPACES_TO_TABS = 202,
    ACT_CONVERT_ENCODING = 203,
};

// Flags of an undo record.
inline constexpr uint32_t UNDO_INSERT = 0x0001; // insertion (clear: deletion)
// A change of the encoding: text holds the encoding and BOM before and after
// (four bytes), start and end are (0, 0); no text changes with the record.
inline constexpr uint32_t UNDO_ENCODING = 0x0002;
inline constexpr uint32_t UNDO_BEGINGROUP = 0x0100;

// One recorded change. Texts of up to 15 bytes live inside the record.
struct UndoRecord {
    uint32_t flags = 0;
    TextPos start;
    TextPos end;
    int32_t action = ACT_UNKNOWN;
    std::string text; // lines joined by CR LF
    // Lengths of the lines of a deleted text when one of them held a CR byte,
    // which the CR LF joined text cannot tell from a line break.
    std::unique_ptr<std::vector<int32_t>> pieces;
};

class CTextBuffer {
public:
    CTextBuffer();
    virtual ~CTextBuffer();
    CTextBuffer(const CTextBuffer&) = delete;
    CTextBuffer& operator=(const CTextBuffer&) = delete;

    // --- Text access (no notice, no undo). A line index outside the text
    // (negative, or past the last line) gives 0, null or an empty view.
    int LineCount() const { return m_lines.Count(); }
    int LineLength(int line) const { return InRange(line) ? m_lines.Length(line) : 0; }
    // The line's bytes, not zero-terminated (use with LineLength).
    const char* LineChars(int line) const { return InRange(line) ? m_lines.Chars(line) : nullptr; }
    std::string_view LineText(int line) const
    {
        return InRange(line) ? std::string_view(m_lines.Chars(line), static_cast<size_t>(m_lines.Length(line)))
                             : std::string_view();
    }
    uint32_t LineFlags(int line) const { return InRange(line) ? m_lines.Flags(line) : 0; }
    // True for a line unchanged since the load without a tab or a byte above
    // 7F: its display length is its length, whatever the tab width.
    bool IsPlainLine(int line) const { return InRange(line) && m_lines.IsPlain(line); }
    // out[k]: the display length of line first + k at tabWidth when it is
    // known without a look at its bytes (a line unchanged since the load that
    // is plain, or plain after the tabs it starts with), else -1 (also
    // outside the text).
    void KnownLengths(int first, int count, int tabWidth, int32_t* out) const;
    // Allocated size of the line: (n / 16 + 1) * 16 for a line created with
    // length n, reallocated to (m / 16 + 1) * 16 when an append makes the
    // length m exceed it.
    int LineCapacity(int line) const { return InRange(line) ? m_lines.Capacity(line) : 0; }

    int LineEndStyle() const { return m_eolStyle; }
    // The encoding of the lines' bytes, decided at load (textencoding::Detect).
    // A byte order mark is not part of the first line: it is written back in
    // front of the text when HasBom.
    TextEncoding Encoding() const { return m_encoding; }
    bool HasBom() const { return m_bom; }
    bool IsReadOnly() const { return m_readOnly; }
    bool IsModified() const { return m_modified; }
    bool IsInitialised() const { return m_initialised; }
    // Where the most recent insertion ended or deletion began; (-1, -1) when
    // nothing changed since the last load, new text or discard.
    TextPos LastChangePos() const { return m_lastChange; }

    // Copies a range; lines are joined with separator, CR LF when none is given.
    void ExtractText(int startLine, int startChar, int endLine, int endChar, std::string& text,
                     const char* separator = nullptr) const;

    // --- Life cycle.
    // One empty line with the given line-end style and encoding.
    void InitEmpty(int style = EOL_CRLF, TextEncoding encoding = textencoding::PlatformEncoding());
    // Reads a file; style -1 detects the line-end style from the first 32768
    // bytes. A file of pure ASCII gets plainEncoding. On failure (no such file, not a regular file, unreadable, a read
    // error, or a line or line count too large) returns false and leaves the
    // previous content, history and state as they were.
    bool LoadFile(const std::string& path, int style = -1,
                  TextEncoding plainEncoding = textencoding::PlatformEncoding());
    // What the last successful LoadFile read, for the file watch: the size
    // and content hash (platform::CContentHash) of the bytes, and the file
    // (fstat) before the read.
    struct LoadedFile {
        bool valid = false;
        uint64_t size = 0;
        uint64_t contentHash = 0;
        platform::FileStamp stamp; // the fstat before the read
    };
    const LoadedFile& LastLoad() const { return m_lastLoad; }
    // Takes over what another buffer's successful LoadFile read, as if that
    // LoadFile had run here (the views hear of a new text); the other buffer
    // is left without lines.
    void TakeLoadedFrom(CTextBuffer& loaded);
    // The same from bytes in memory (the buffer is then never read-only).
    bool LoadFromMemory(std::string_view bytes, int style = -1,
                        TextEncoding plainEncoding = textencoding::PlatformEncoding());
    // Writes the text atomically (a temporary file in the target's folder,
    // without a name until it is complete where the file system allows and
    // "CRE…" elsewhere, synced and renamed over the target; links followed,
    // permission bits kept, and those the file had when it was loaded given
    // to it again should it have been deleted meanwhile). Style -1 uses the buffer's own style. On failure returns
    // false; the target, the buffer and its modified state stay unchanged.
    bool SaveFile(const std::string& path, int style = -1, bool clearModified = true);
    // The bytes SaveFile would write.
    std::string SaveToMemory(int style = -1) const;
    void DiscardAll();
    // errno of the last failed LoadFile or SaveFile (0 after a success).
    int LastErrorCode() const { return m_lastError; }
    // Whether the last successful SaveFile replaced a file that had other
    // hard links: those keep the old text (the save stays atomic).
    bool LastSaveSplitHardLink() const { return m_splitHardLink; }

    // --- Views.
    void RegisterView(CTextBufferListener* view);
    void UnregisterView(CTextBufferListener* view);
    // Calls OnBufferChange on every registered view in registration order.
    void NotifyViews(CTextBufferListener* source, const TextChange* change, uint32_t flags, int line);

    // --- Editing with undo. A failed change (read-only buffer, position out
    // of range) changes nothing and records nothing.
    bool InsertTextAt(CTextBufferListener* source, int line, int pos, std::string_view text,
                      int& endLine, int& endChar, int action = ACT_UNKNOWN);
    bool DeleteRange(CTextBufferListener* source, int startLine, int startChar, int endLine,
                     int endChar, int action = ACT_UNKNOWN);
    void OpenUndoGroup(bool mergeWithPrevious = false);
    // With a source view, calls its AfterEditGroup when the group recorded
    // at least one change.
    void CloseUndoGroup(CTextBufferListener* source = nullptr);
    // Re-encodes the text into `to` as one undo step (ACT_CONVERT_ENCODING):
    // the non-ASCII bytes of each line are replaced and the encoding changes
    // with them (no byte order mark afterwards); undo and redo bring bytes and
    // encoding back together. Windows-1252 to UTF-8 always succeeds; UTF-8 to
    // Windows-1252 fails, changing nothing, at the first character the code
    // page cannot hold, which failure then names (its line and character).
    // Bytes that are no valid UTF-8 are kept as they are. False as well for
    // a read-only buffer and when the text is in `to` already.
    struct EncodingFailure {
        int line = -1;
        int offset = 0;
        char32_t character = 0;
    };
    bool ConvertEncoding(CTextBufferListener* source, TextEncoding to, EncodingFailure* failure = nullptr);

    bool CanUndoStep() const { return m_undoPos > 0; }
    bool CanRedoStep() const { return m_undoPos < static_cast<int>(m_history.size()); }
    // Reverts (reapplies) one group; cursor receives where the caret belongs.
    bool UndoStep(TextPos& cursor);
    bool RedoStep(TextPos& cursor);
    // Display name of the group that Undo (Redo) would revert (reapply).
    void UndoDescription(std::string& text) const;
    void RedoDescription(std::string& text) const;

    // --- Editing without undo. In inserted text, CR or CR LF breaks a line;
    // a lone LF and a zero byte are ordinary characters.
    bool RawInsert(CTextBufferListener* source, int line, int pos, std::string_view text,
                   int& endLine, int& endChar);
    bool RawDelete(CTextBufferListener* source, int startLine, int startChar, int endLine,
                   int endChar);

    // --- Line flags. flag must have exactly one bit of LINE_FLAGS_ALL set.
    // line -1 names the first line that carries the flag.
    void ChangeLineFlag(int line, uint32_t flag, bool set, bool unique = true);
    int FindFlaggedLine(uint32_t flag) const;
    // The next (previous) line with LINE_MARK, wrapping around; -1 when none.
    int NextMarkedLine(int line) const;
    int PreviousMarkedLine(int line) const;

    // --- Overridable.
    // Display name (UTF-8) of an action code; false for an unknown code.
    virtual bool ActionName(int action, std::string& text) const;
    // Stores the modified flag; a derived buffer may also mark its document.
    virtual void MarkModified(bool modified);

    // --- Undo history, as seen from outside.
    int UndoLimit() const { return m_undoLimit; }
    int UndoRecordCount() const { return static_cast<int>(m_history.size()); }
    int UndoPosition() const { return m_undoPos; }
    // Undo position at the last load or save; -1 once that state can no
    // longer be reached by undo or redo.
    int SavedPosition() const { return m_savedPos; }
    const UndoRecord& UndoRecordAt(int index) const { return m_history[static_cast<size_t>(index)]; }
    bool IsUndoGroupOpen() const { return m_groupOpen; }

private:
    struct Piece {
        const char* data;
        int32_t length;
    };

    void Adopt(CLineTable& table, int style, textencoding::Decision encoding, bool readOnly);
    bool InsertPieces(CTextBufferListener* source, int line, int pos, const Piece* pieces,
                      size_t count, int& endLine, int& endChar);
    bool ValidPos(int line, int pos) const;
    bool InRange(int line) const { return line >= 0 && line < m_lines.Count(); }
    void AddRecord(bool insertion, TextPos start, TextPos end, int action, std::string text,
                   std::unique_ptr<std::vector<int32_t>> pieces);
    void ApplyInsertRecord(const UndoRecord& rec);
    // Sets the encoding of an UNDO_ENCODING record, before (undo) or after.
    void ApplyEncodingRecord(const UndoRecord& rec, bool after);

    bool m_initialised = false;
    bool m_readOnly = false;
    bool m_modified = false;
    int m_eolStyle = EOL_CRLF;
    TextEncoding m_encoding = TextEncoding::Utf8;
    bool m_bom = false;
    int m_undoLimit = 1024;
    CLineTable m_lines;
    std::deque<UndoRecord> m_history;
    int m_undoPos = 0;
    int m_savedPos = 0;
    bool m_groupOpen = false;
    bool m_groupStartPending = false;
    bool m_inAfterEditGroup = false;
    bool m_groupRecorded = false; // the open group has added a record
    int m_groupStarts = 0; // records in the history that start a group
    std::vector<CTextBufferListener*> m_views;
    int m_notifyDepth = 0;
    bool m_viewsRemoved = false;
    TextPos m_lastChange = TextPos::None();
    int m_lastError = 0;
    std::string m_filePath; // last loaded or saved, with its permission bits
    int m_fileMode = -1;
    bool m_splitHardLink = false;
    LoadedFile m_lastLoad;
};
