#include "platform/MessageLanguage.h"

#include "platform/Process.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <libintl.h>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

// Each case runs in a child of its own (a death test that exits), since the
// locale and the process's own variables are process-wide and set once.
namespace {

// Records failures of a forked case; the case ends with the exit code 0 only
// when every check held.
struct CChecks {
    int failed = 0;
    void That(bool ok, const std::string& what)
    {
        if (!ok) {
            std::fprintf(stderr, "failed: %s\n", what.c_str());
            ++failed;
        }
    }
    [[noreturn]] void Exit() { std::_Exit(failed ? 1 : 0); }
};

std::map<int, std::string> Categories()
{
    std::map<int, std::string> m;
    for (int c : {LC_CTYPE, LC_NUMERIC, LC_TIME, LC_COLLATE, LC_MONETARY})
        m[c] = std::setlocale(c, nullptr);
    return m;
}

// GTK's catalogue as GTK reads it (UTF-8 whatever LC_CTYPE says).
std::string GtkCancel()
{
    bind_textdomain_codeset("gtk30", "UTF-8");
    return dgettext("gtk30", "_Cancel");
}

// The LANGUAGE a child started with the default environment sees.
std::string ChildLanguage()
{
    int p[2];
    if (pipe2(p, O_CLOEXEC) != 0)
        return "pipe failed";
    platform::SpawnRequest request;
    request.argv = {"/bin/sh", "-c", "echo \"${LANGUAGE-unset}\""};
    request.stdoutFd = p[1];
    pid_t pid = -1;
    int rc = platform::Spawn(request, &pid);
    close(p[1]);
    std::string out;
    char buf[256];
    ssize_t n;
    while (rc == 0 && (n = read(p[0], buf, sizeof buf)) > 0)
        out.append(buf, static_cast<size_t>(n));
    close(p[0]);
    if (rc == 0)
        waitpid(pid, nullptr, 0);
    return out;
}

std::string EnvLanguage()
{
    std::vector<std::string> env = platform::CurrentEnvironment();
    const char* v = platform::FindVariable(env, "LANGUAGE");
    return v ? v : "unset";
}

const char* Get(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "unset";
}

} // namespace

TEST(MessageLanguage, GermanLocaleServesTheMessagesAloneAndLeavesTheEnvironment)
{
    EXPECT_EXIT(
        {
            CChecks check;
            unsetenv("LANGUAGE");
            setenv("LANG", "C", 1);
            unsetenv("LC_ALL");
            std::setlocale(LC_ALL, "C");
            auto before = Categories();
            std::string set = platform::UseGermanMessages();
            check.That(set == "de_DE.UTF-8", "message locale " + set + " (setup.sh generates de_DE.UTF-8)");
            check.That(std::string(std::setlocale(LC_MESSAGES, nullptr)) == set, "LC_MESSAGES");
            check.That(Categories() == before, "the other categories changed");
            check.That(GtkCancel() == "_Abbrechen", "GTK's catalogue gives " + GtkCancel());
            check.That(std::string(Get("LANGUAGE")) == "unset", "LANGUAGE was set needlessly");
            check.That(std::string(Get("LANG")) == "C", "LANG changed");
            check.That(ChildLanguage() == "unset\n", "child sees LANGUAGE " + ChildLanguage());
            check.Exit();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(MessageLanguage, ForeignLanguageVariableIsOverriddenForThisProcessOnly)
{
    EXPECT_EXIT(
        {
            CChecks check;
            setenv("LANGUAGE", "fr:en", 1);
            std::setlocale(LC_ALL, "C");
            std::string set = platform::UseGermanMessages();
            check.That(set.rfind("de_", 0) == 0, "message locale " + set);
            check.That(std::string(Get("LANGUAGE")) == "de", std::string("own LANGUAGE ") + Get("LANGUAGE"));
            check.That(GtkCancel() == "_Abbrechen", "GTK's catalogue gives " + GtkCancel());
            check.That(EnvLanguage() == "fr:en", "CurrentEnvironment has LANGUAGE " + EnvLanguage());
            check.That(ChildLanguage() == "fr:en\n", "child sees LANGUAGE " + ChildLanguage());
            // Calling again (each start-up of the application does) keeps the user's value.
            platform::UseGermanMessages();
            check.That(EnvLanguage() == "fr:en", "second call: " + EnvLanguage());
            check.Exit();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            CChecks check;
            setenv("LANGUAGE", "de_AT:en", 1);
            platform::UseGermanMessages();
            check.That(std::string(Get("LANGUAGE")) == "de_AT:en", "a German LANGUAGE stays");
            check.Exit();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(MessageLanguage, WithoutAGermanLocaleLanguageDeChoosesTheCatalogue)
{
    EXPECT_EXIT(
        {
            CChecks check;
            unsetenv("LANGUAGE");
            unsetenv("LC_ALL");
            unsetenv("LC_MESSAGES");
            setenv("LANG", "C", 1);
            std::setlocale(LC_ALL, "C");
            auto before = Categories();
            std::string set = platform::UseGermanMessages({"xx_NOWHERE.UTF-8", "yy"});
            check.That(set == "C.UTF-8" || set == "C.utf8", "message locale " + set);
            check.That(std::string(Get("LANGUAGE")) == "de", std::string("own LANGUAGE ") + Get("LANGUAGE"));
            check.That(GtkCancel() == "_Abbrechen", "GTK's catalogue gives " + GtkCancel());
            check.That(Categories() == before, "the other categories changed");
            check.That(EnvLanguage() == "unset", "CurrentEnvironment has LANGUAGE " + EnvLanguage());
            check.That(ChildLanguage() == "unset\n", "child sees LANGUAGE " + ChildLanguage());
            check.Exit();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(ProcessEnvironment, OwnVariablesKeepTheirUserValuesForChildren)
{
    EXPECT_EXIT(
        {
            CChecks check;
            setenv("KIB_T_SET", "user", 1);
            unsetenv("KIB_T_NEW");
            platform::SetOwnVariable("KIB_T_SET", "own");
            platform::SetOwnVariable("KIB_T_SET", nullptr);
            platform::SetOwnVariable("KIB_T_NEW", "own");
            check.That(std::getenv("KIB_T_SET") == nullptr, "removed in this process");
            check.That(std::string(Get("KIB_T_NEW")) == "own", "set in this process");
            std::vector<std::string> env = platform::CurrentEnvironment();
            const char* set = platform::FindVariable(env, "KIB_T_SET");
            check.That(set && std::string(set) == "user", "the user's value comes back");
            check.That(!platform::FindVariable(env, "KIB_T_NEW"), "a variable new to this process stays out");
            int n = 0;
            for (const std::string& e : env)
                n += e.rfind("KIB_T_SET=", 0) == 0;
            check.That(n == 1, "one entry");
            check.Exit();
        },
        ::testing::ExitedWithCode(0), "");
}
