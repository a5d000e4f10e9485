#include "update/WebUpdateChecker.h"

#include "platform/AsciiCase.h"

#include <curl/curl.h>

#include <cstdlib>
#include <cstring>

#ifndef KIB_UPDATE_HOST
#define KIB_UPDATE_HOST "www.orvane.de"
#endif

namespace update {

namespace {

constexpr char kVersionFilePath[] = "/versioninfo/kibversion.verinfo";

std::string Kept(const std::string& s, size_t room)
{
    return s.size() > room - 1 ? s.substr(0, room - 1) : s;
}

struct Transfer {
    CWebUpdateChecker* checker = nullptr;
    std::function<void()> firstData;
    std::string body;
    bool full = false;
    bool gotData = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    size_t len = size * count;
    if (!t->gotData) {
        t->gotData = true;
        t->firstData();
    }
    size_t room = CWebUpdateChecker::kBodyLimit - t->body.size();
    t->body.append(data, std::min(len, room));
    if (t->body.size() >= CWebUpdateChecker::kBodyLimit) {
        // The cut: nothing beyond it is read.
        t->full = true;
        return 0;
    }
    return len;
}

int Xfer(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<Transfer*>(user)->checker->Cancelled() ? 1 : 0;
}

} // namespace

std::string UpdateUrl()
{
    const char* url = std::getenv("KIB_UPDATE_URL");
    if (url && *url)
        return url;
    return std::string("http://") + KIB_UPDATE_HOST + kVersionFilePath;
}

bool IsWebPageAddress(std::string_view address)
{
    std::string lower = platform::AsciiLowerCopy(address.substr(0, 8));
    size_t rest;
    if (lower.rfind("http://", 0) == 0)
        rest = 7;
    else if (lower.rfind("https://", 0) == 0)
        rest = 8;
    else
        return false;
    if (address.size() <= rest || address[rest] == '/')
        return false;
    for (char c : address)
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f)
            return false;
    return true;
}

CWebUpdateChecker::CWebUpdateChecker(const std::string& url, const std::string& programPath)
{
    LoadInternetFunctions();
    SetUrl(url);
    SetModule(programPath);
}

CWebUpdateChecker::~CWebUpdateChecker()
{
    if (m_loaded)
        curl_global_cleanup();
}

bool CWebUpdateChecker::LoadInternetFunctions()
{
    if (!m_loaded)
        m_loaded = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return m_loaded;
}

void CWebUpdateChecker::SetCurrentVersion(const std::string& version)
{
    m_currentVersion = Kept(version, kVersionRoom);
}

void CWebUpdateChecker::SetModule(const std::string& programPath)
{
    m_programPath = programPath;
    SetCurrentVersion(KIB_VERSION);
}

void CWebUpdateChecker::SetUserAgent(const std::string& agent)
{
    m_userAgent = Kept(agent, kUrlRoom);
}

const std::string& CWebUpdateChecker::GetUserAgent()
{
    if (m_userAgent.empty()) {
        std::string agent = kUserAgentBase;
        size_t slash = m_programPath.rfind('/');
        if (slash != std::string::npos)
            agent += " (" + m_programPath.substr(slash + 1) + " " + m_currentVersion + ")";
        SetUserAgent(agent);
    }
    return m_userAgent;
}

void CWebUpdateChecker::SetUrl(const std::string& url)
{
    m_url = Kept(url, kUrlRoom);
}

void CWebUpdateChecker::SetTimeouts(long connectMs, long totalMs)
{
    m_connectMs = connectMs;
    m_totalMs = totalMs;
}

bool CWebUpdateChecker::IsNewerVersion()
{
    if (m_currentVersion.empty())
        SetCurrentVersion(KIB_VERSION);
    return update::IsNewerVersion(m_currentVersion, m_info.version);
}

void CWebUpdateChecker::SetStatusFromLastError(int curlCode)
{
    switch (curlCode) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: m_status = kHostNotFound; break;
    case CURLE_OPERATION_TIMEDOUT: m_status = kTimeout; break;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL: m_status = kInvalidUrl; break;
    case CURLE_COULDNT_CONNECT: m_status = kNoConnection; break;
    default: m_status = kOtherError; break;
    }
}

void CWebUpdateChecker::Progress(int step)
{
    if (m_progress)
        m_progress(step);
}

bool CWebUpdateChecker::Check(bool /*noDial*/)
{
    m_status = kNoError;
    if (!m_loaded) {
        m_status = kLibraryMissing;
        return false;
    }
    // Connected or not shows in the request itself: there is nothing to dial.
    Progress(0);
    CURL* curl = curl_easy_init();
    if (!curl)
        return false;
    Progress(1);
    Transfer t;
    t.checker = this;
    t.firstData = [this] { Progress(2); };
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    curl_easy_setopt(curl, CURLOPT_URL, m_url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, GetUserAgent().c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    // Only the web: never a local file or another scheme, also not by redirect.
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, m_connectMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, m_totalMs);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Xfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
    CURLcode result = m_cancel ? CURLE_ABORTED_BY_CALLBACK : curl_easy_perform(curl);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    if (result == CURLE_WRITE_ERROR && t.full)
        result = CURLE_OK;
    if (result != CURLE_OK) {
        SetStatusFromLastError(result);
        return false;
    }
    Progress(3);
    std::string text = t.body.substr(0, std::strlen(t.body.c_str()));
    m_info = ParseVersionFile(text);
    m_hasInfo = true;
    return true;
}

} // namespace update
