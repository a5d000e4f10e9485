#include "settings/RegistryKey.h"

#include "platform/UserStore.h"

#include <vector>

using platform::CUserStore;
using platform::StoreType;

CRegistryKey::CRegistryKey(HKEY_ROOT root, const std::string& path, bool create, uint32_t access)
{
    OpenKey(root, path, create, access);
}

CRegistryKey::~CRegistryKey()
{
    CloseKey();
}

std::string CRegistryKey::NormalisePath(const std::string& path)
{
    size_t start = path.find_first_not_of('\\');
    if (start == std::string::npos)
        return {};
    std::string p = path.substr(start);
    if (!p.empty() && p.back() == '\\')
        p.pop_back();
    return p;
}

bool CRegistryKey::OpenKey(HKEY_ROOT, const std::string& path, bool create, uint32_t)
{
    std::string normal = NormalisePath(path);
    CUserStore& store = CUserStore::Instance();
    m_status = create ? store.CreateKey(normal) : store.OpenKey(normal);
    // Whatever was open before is closed, whether or not this one opens.
    m_open = false;
    m_path.clear();
    if (m_status != platform::kStoreSuccess)
        return false;
    m_open = true;
    m_path = normal;
    return true;
}

bool CRegistryKey::CloseKey()
{
    if (!m_open)
        return false;
    m_open = false;
    m_path.clear();
    m_status = platform::kStoreSuccess;
    return true;
}

bool CRegistryKey::WriteDword(const std::string& name, uint32_t value)
{
    if (!m_open)
        return false;
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xff);
    m_status = CUserStore::Instance().SetValue(m_path, name, StoreType::Dword, data);
    return m_status == platform::kStoreSuccess;
}

bool CRegistryKey::ReadDword(const std::string& name, uint32_t& out)
{
    if (!m_open)
        return false;
    StoreType type = StoreType::None;
    char data[4] = {};
    uint32_t size = sizeof data;
    m_status = CUserStore::Instance().QueryValue(m_path, name, &type, data, &size);
    if (m_status != platform::kStoreSuccess || type != StoreType::Dword || size != 4)
        return false;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    out = v;
    return true;
}

bool CRegistryKey::WriteString(const std::string& name, const char* text)
{
    if (!m_open || !text)
        return false;
    m_status = CUserStore::Instance().SetValue(m_path, name, StoreType::String, text);
    return m_status == platform::kStoreSuccess;
}

const std::string& CRegistryKey::ReadString(const std::string& name)
{
    m_buffer.clear();
    if (!m_open)
        return m_buffer;
    CUserStore& store = CUserStore::Instance();
    // Ask with one byte first; a longer text tells how much room it needs.
    StoreType type = StoreType::None;
    char one[1] = {};
    uint32_t size = 1;
    m_status = store.QueryValue(m_path, name, &type, one, &size);
    if (type != StoreType::String)
        return m_buffer;
    if (m_status == platform::kStoreSuccess)
        return m_buffer; // the empty text
    if (m_status != platform::kStoreMoreData)
        return m_buffer;
    std::vector<char> buf(size);
    m_status = store.QueryValue(m_path, name, &type, buf.data(), &size);
    if (m_status == platform::kStoreSuccess && type == StoreType::String && size > 0)
        m_buffer.assign(buf.data(), size - 1);
    return m_buffer;
}
