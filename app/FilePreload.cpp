#include "app/FilePreload.h"

#include "app/FileCheck.h"
#include "editor/TextBuffer.h"
#include "platform/FileStamp.h"
#include "platform/Path.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <exception>
#include <system_error>

CFilePreload::CFilePreload() = default;

CFilePreload::~CFilePreload()
{
    Drop();
}

CFilePreload& CFilePreload::Instance()
{
    static CFilePreload preload;
    return preload;
}

void CFilePreload::Start(const std::string& path)
{
    Drop();
    if (path.empty())
        return;
    m_path = platform::AbsolutePath(path);
    m_buffer = std::make_unique<CTextBuffer>();
    try {
        m_thread = std::thread([this] {
            // Behind the start of the window, which needs its core more: the
            // reader's helper thread inherits this.
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
            // Files the opening refuses (too large, no file) are left to it
            // and its message; so is a read that ran out of memory.
            try {
                if (CheckFileForOpening(m_path) == FileProblem::None)
                    m_loaded = m_buffer->LoadFile(m_path, -1);
            } catch (const std::exception&) {
                m_loaded = false;
            }
        });
    } catch (const std::system_error&) {
        Drop(); // no thread: the opening reads the file itself
    }
}

bool CFilePreload::TakeInto(const std::string& path, CTextBuffer& buffer)
{
    if (!m_buffer)
        return false;
    Finish();
    bool taken = false;
    struct stat st;
    if (m_loaded && path == m_path && m_buffer->LastLoad().valid && stat(path.c_str(), &st) == 0 &&
        S_ISREG(st.st_mode) && platform::FileStamp::Of(st) == m_buffer->LastLoad().stamp) {
        buffer.TakeLoadedFrom(*m_buffer);
        taken = true;
    }
    Drop();
    return taken;
}

void CFilePreload::Finish()
{
    if (m_thread.joinable())
        m_thread.join();
}

void CFilePreload::Drop()
{
    Finish();
    m_buffer.reset();
    m_loaded = false;
    m_path.clear();
}
