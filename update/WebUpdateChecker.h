// The update check: one HTTP GET of the version file through libcurl, its
// values, and whether they name a newer version than the running one. Check
// blocks; the caller runs it on a worker thread and may Cancel it from
// another one.
#pragma once

#include "update/VersionFile.h"

#include <atomic>
#include <functional>
#include <string>

namespace update {

// The address of the version file: $KIB_UPDATE_URL when set and not empty
// (for tests), else the version-file path on the host chosen at build time.
std::string UpdateUrl();

// Whether an address may go to the browser: an http or https URL with a
// host and no blank or control character (never file:, javascript: ...).
bool IsWebPageAddress(std::string_view address);

class CWebUpdateChecker {
public:
    enum Status {
        kNoError = 0,
        kLibraryMissing = 1,
        kFunctionMissing = 2,
        kOffline = 3,
        kOfflineAfterDial = 4,
        kHostNotFound = 5,
        kTimeout = 6,
        kInvalidUrl = 7,
        kNoConnection = 8,
        kOtherError = 9,
    };
    // The body is read up to this many bytes; the rest is cut off.
    static constexpr size_t kBodyLimit = 6767;
    static constexpr char kUserAgentBase[] = "Orvane WWW Update Agent 2.2.0.0";

    // programPath: the running program, whose name goes into the user agent.
    CWebUpdateChecker(const std::string& url, const std::string& programPath);
    ~CWebUpdateChecker();
    CWebUpdateChecker(const CWebUpdateChecker&) = delete;
    CWebUpdateChecker& operator=(const CWebUpdateChecker&) = delete;

    bool HasVersionInfo() const { return m_hasInfo; }
    // The current version is older than the file's VERSION.
    bool IsNewerVersion();
    void SetCurrentVersion(const std::string& version); // 299 characters kept
    // The program's own product version, and its path for the user agent.
    void SetModule(const std::string& programPath);
    void SetUserAgent(const std::string& agent); // 2083 characters kept
    const std::string& GetUserAgent();
    void SetUrl(const std::string& url); // 2083 characters kept
    const std::string& GetUrl() const { return m_url; }
    // Called with the steps 0 to 3, on the thread that runs Check.
    void SetProgressCallback(std::function<void(int step)> callback) { m_progress = std::move(callback); }
    int GetStepCount() const { return 3; }
    int GetStatus() const { return m_status; }
    bool LoadInternetFunctions();
    // The status of a libcurl result code.
    void SetStatusFromLastError(int curlCode);
    void SetStatus(int status) { m_status = status; }
    static int64_t VersionToNumber(std::string_view text, char separator)
    {
        return update::VersionToNumber(text, separator);
    }

    // Time-outs of the connection and of the whole request, in milliseconds.
    void SetTimeouts(long connectMs, long totalMs);
    // Ends a running Check soon (from any thread); it then fails.
    void Cancel() { m_cancel = true; }
    bool Cancelled() const { return m_cancel; }

    // True when a version file was read; details in GetVersionInfo and
    // GetStatus. noDial is kept for callers: this platform never dials.
    bool Check(bool noDial);
    CVersionInfo GetVersionInfo() const { return m_info; }

private:
    void Progress(int step);

    std::string m_url;
    std::string m_userAgent;
    std::string m_currentVersion;
    std::string m_programPath;
    int m_status = kNoError;
    bool m_hasInfo = false;
    bool m_loaded = false;
    CVersionInfo m_info;
    std::function<void(int)> m_progress;
    long m_connectMs = 15000;
    long m_totalMs = 30000;
    std::atomic<bool> m_cancel{false};
};

} // namespace update
