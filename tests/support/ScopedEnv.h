// Sets (or, with a null value, removes) an environment variable for the
// life of the object and gives it back its earlier state afterwards.
#pragma once

#include <cstdlib>
#include <string>

namespace kibtest {

class CScopedEnv {
public:
    CScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_had = true;
            m_old = old;
        }
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    CScopedEnv(const char* name, const std::string& value) : CScopedEnv(name, value.c_str()) {}
    ~CScopedEnv()
    {
        if (m_had)
            setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_had = false;
    std::string m_old;
};

} // namespace kibtest
