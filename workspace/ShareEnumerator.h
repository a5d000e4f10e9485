// The machine's own shares, which the explorer marks with an overlay: the
// Samba user shares, the paths of the shares configured in smb.conf and the
// NFS exports, as far as a normal user can read them. One program-wide list,
// re-read by every refresh of a tree.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

class CShareEnumerator {
public:
    // Where the lists are read from (tests point them elsewhere).
    struct Sources {
        std::string userShareFolder = "/var/lib/samba/usershares";
        std::string smbConf = "/etc/samba/smb.conf";
        std::string exports = "/etc/exports";
        std::string exportsFolder = "/etc/exports.d"; // its *.exports files
        std::string home;                             // the folder a [homes] section shares
    };

    static CShareEnumerator& Instance();

    void SetSources(Sources sources) { m_sources = std::move(sources); }
    const Sources& GetSources() const { return m_sources; }

    // Reads every source again; an unreadable one adds nothing.
    void RefreshShares();

    // Whether path is the local path of a share (a trailing "/" aside; the
    // comparison keeps letter case, as the file system does).
    bool IsShared(std::string_view path) const;
    size_t Count() const { return m_paths.size(); }

    // The pieces, for tests: the shared paths of one source's text.
    static std::vector<std::string> ParseUserShare(std::string_view text);
    static std::vector<std::string> ParseSmbConf(std::string_view text, const std::string& home);
    static std::vector<std::string> ParseExports(std::string_view text);

private:
    static std::string Normal(std::string_view path);

    Sources m_sources;
    std::set<std::string> m_paths;
};
