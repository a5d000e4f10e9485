#include "toolchain/CommandMode.h"

#include "settings/Settings.h"

namespace toolchain {

void CCommandMode::BeginCompile(bool thenRun)
{
    m_errorSeen = false;
    m_mode = thenRun ? CMD_COMPILE_RUN : CMD_COMPILE;
}

void CCommandMode::BeginRun()
{
    m_mode = CMD_RUN;
}

EOutputPane CCommandMode::RouteText(bool fromStdErr)
{
    int mode = m_mode.load();
    if (mode == CMD_COMPILE || mode == CMD_COMPILE_RUN) {
        if (fromStdErr)
            m_errorSeen = true;
        return EOutputPane::Compiler;
    }
    if (mode == CMD_RUN)
        return EOutputPane::Program;
    return EOutputPane::None;
}

EExitNotice CCommandMode::ExitNotice() const
{
    int mode = m_mode.load();
    if (mode == CMD_COMPILE || mode == CMD_COMPILE_RUN)
        return EExitNotice::Build;
    if (mode == CMD_RUN)
        return EExitNotice::Start;
    return EExitNotice::None;
}

bool CCommandMode::FinishBuild()
{
    int was = m_mode.exchange(CMD_IDLE);
    return was == CMD_COMPILE_RUN && !m_errorSeen.load();
}

void CCommandMode::FinishRun()
{
    m_mode = CMD_IDLE;
}

void CCommandMode::StartFailed()
{
    m_mode = CMD_IDLE;
}

ESaveBeforeCompile SaveBeforeCompile(const CSettings& s)
{
    if (s.m_autoSaveBeforeCompile != 1)
        return ESaveBeforeCompile::None;
    return s.m_autoSaveBeforeCompileType != 0 ? ESaveBeforeCompile::ThisFile
                                              : ESaveBeforeCompile::AllFiles;
}

std::string ChooseRunSource(int chosen, const std::vector<std::string>& startFiles,
                            const std::string& viewPath)
{
    if (chosen >= 0 && static_cast<size_t>(chosen) < startFiles.size())
        return startFiles[static_cast<size_t>(chosen)];
    return viewPath;
}

bool CanCompile(const CSettings& s)
{
    return !s.m_compilerPath.empty();
}

bool CanRun(const CSettings& s)
{
    return !s.m_interpreterPath.empty();
}

bool CanRunWithArguments(const CSettings& s)
{
    return !s.m_compilerPath.empty();
}

bool CanRunApplet(const CSettings& s)
{
    return !s.m_appletViewerPath.empty();
}

} // namespace toolchain
