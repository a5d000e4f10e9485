// What an editor view's compile and run commands decide: the command mode
// (0 idle, 1 compile, 2 run, 4 compile then run), where child text goes,
// the error-output flag, which exit notice follows a child's end and whether
// a run follows a compile. Reader and watcher threads read it while the
// user-interface thread changes it, so its words are atomic.
#pragma once

#include <atomic>
#include <string>
#include <vector>

class CSettings;

namespace toolchain {

enum ECommandMode : int { CMD_IDLE = 0, CMD_COMPILE = 1, CMD_RUN = 2, CMD_COMPILE_RUN = 4 };

enum class EOutputPane { None, Compiler, Program };
enum class EExitNotice { None, Build, Start };

class CCommandMode {
public:
    int Mode() const { return m_mode.load(); }

    // A compile starts: mode 1, or 4 when the run is to follow; the
    // error-output flag is cleared.
    void BeginCompile(bool thenRun);
    // A run starts: mode 2.
    void BeginRun();

    // Reader thread: the pane that takes a chunk of child text in the present
    // mode (None: drop it). Error text in mode 1 or 4 sets the error flag.
    EOutputPane RouteText(bool fromStdErr);
    // Watcher thread: the notice the view posts to itself.
    EExitNotice ExitNotice() const;

    // Build-exit handler: back to idle; true when the run is to start now
    // (mode was 4 and the compiler wrote nothing to its standard error).
    bool FinishBuild();
    // Start-exit handler: back to idle.
    void FinishRun();
    // A start failed (no exit notice will come): back to idle.
    void StartFailed();

    bool ErrorOutputSeen() const { return m_errorSeen.load(); }

private:
    std::atomic<int> m_mode{CMD_IDLE};
    std::atomic<bool> m_errorSeen{false};
};

enum class ESaveBeforeCompile { None, ThisFile, AllFiles };
// What is saved before compiling.
ESaveBeforeCompile SaveBeforeCompile(const CSettings& settings);

// The file whose class is run: the chosen start file, or the view's own file
// when none is chosen (−1) or the index names no entry.
std::string ChooseRunSource(int chosenStartFile, const std::vector<std::string>& startFiles,
                            const std::string& viewPath);

// Menu states of the Java commands.
bool CanCompile(const CSettings& settings);           // compiler path set
bool CanRun(const CSettings& settings);               // interpreter path set
bool CanRunWithArguments(const CSettings& settings);  // compiler path set, as the menu has it
bool CanRunApplet(const CSettings& settings);         // applet viewer path set

} // namespace toolchain
