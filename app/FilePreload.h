// The file named on the command line, read on a thread of its own while the
// toolkit and the main window start: opening it then takes the text already
// read instead of reading it again, as long as the file is still the one
// that was read.
#pragma once

#include <memory>
#include <string>
#include <thread>

class CTextBuffer;

class CFilePreload {
public:
    CFilePreload();
    ~CFilePreload();
    CFilePreload(const CFilePreload&) = delete;
    CFilePreload& operator=(const CFilePreload&) = delete;

    // The one the program's start uses.
    static CFilePreload& Instance();

    // Starts reading the file at path (made absolute here) when it is one a
    // document may be opened from; what an earlier call read is dropped.
    void Start(const std::string& path);
    // Hands the text read to buffer, as buffer.LoadFile(path) would have read
    // it, when path is the file read and it is unchanged since (same file,
    // size and modification time); waits for the read to end first. Either
    // way nothing is kept afterwards. False: the caller reads the file itself.
    bool TakeInto(const std::string& path, CTextBuffer& buffer);
    // Waits for a read still running to end.
    void Finish();
    // Waits for a read still running and frees what it read.
    void Drop();

private:
    std::string m_path;
    std::unique_ptr<CTextBuffer> m_buffer;
    bool m_loaded = false;
    std::thread m_thread;
};
