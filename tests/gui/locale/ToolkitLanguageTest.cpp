// The toolkit's own texts whatever locale Kib is started in (ctest runs this
// under LANG=C, de_DE.UTF-8 and a foreign LANGUAGE): the real GTK widgets of
// Kib's message boxes and of the native dialogs read German, only the message
// category of the locale changes, and children get the user's environment.
// With KIB_SHOTS set to a folder, each dialog is also saved as a screenshot.
#include "gui/app/ShellTestSupport.h"

#include "app/UserDialogs.h"
#include "editor/TextBuffer.h"
#include "platform/Process.h"
#include "resources/CommandIds.h"
#include "platform/LocaleCodeset.h"
#include "toolchain/JavaCommands.h"

#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/colordlg.h>
#include <wx/fontdlg.h>
#include <wx/stockitem.h>

#include <algorithm>
#include <clocale>
#include <fcntl.h>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using namespace kibtest;

namespace {

// What a native dialog showed: its buttons' visible texts by response, and
// every label and list-column title in it.
struct Shown {
    std::string type;
    std::map<int, std::string> buttons;
    std::vector<std::string> texts;
    bool Has(const std::string& text) const
    {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
};

// The text a button shows: its label widgets' text, mnemonics taken out.
std::string ButtonText(GtkWidget* w)
{
    if (GTK_IS_LABEL(w))
        return gtk_label_get_text(GTK_LABEL(w));
    std::string text;
    if (GTK_IS_CONTAINER(w)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(w));
        for (GList* c = children; c; c = c->next)
            text += ButtonText(GTK_WIDGET(c->data));
        g_list_free(children);
    }
    return text;
}

void Collect(GtkDialog* dialog, GtkWidget* w, Shown& shown)
{
    if (GTK_IS_BUTTON(w)) {
        int response = gtk_dialog_get_response_for_widget(dialog, w);
        if (response != GTK_RESPONSE_NONE && gtk_widget_get_visible(w))
            shown.buttons[response] = ButtonText(w);
    }
    if (GTK_IS_LABEL(w))
        shown.texts.push_back(gtk_label_get_text(GTK_LABEL(w)));
    if (GTK_IS_TREE_VIEW(w)) {
        GList* columns = gtk_tree_view_get_columns(GTK_TREE_VIEW(w));
        for (GList* c = columns; c; c = c->next)
            if (const char* title = gtk_tree_view_column_get_title(GTK_TREE_VIEW_COLUMN(c->data)))
                shown.texts.push_back(title);
        g_list_free(columns);
    }
    if (GTK_IS_CONTAINER(w)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(w));
        for (GList* c = children; c; c = c->next)
            Collect(dialog, GTK_WIDGET(c->data), shown);
        g_list_free(children);
    }
}

void Screenshot(const std::string& name)
{
    const char* folder = std::getenv("KIB_SHOTS");
    if (!folder || !*folder)
        return;
    std::string command = "import -window root '" + std::string(folder) + "/" + name + ".png'";
    if (std::system(command.c_str()) != 0)
        ADD_FAILURE() << "screenshot failed: " << command;
}

// Waits, inside whatever modal loop runs, for a shown GtkDialog of the type;
// records it, lets it draw, takes the screenshot and answers with response.
class CDialogAnswerer {
public:
    // typeName: the GtkDialog class, looked up when it exists.
    CDialogAnswerer(const char* typeName, int response, std::string shot)
        : m_typeName(typeName), m_response(response), m_shot(std::move(shot))
    {
        m_source = g_timeout_add(50, &CDialogAnswerer::Tick, this);
    }
    ~CDialogAnswerer()
    {
        if (m_source)
            g_source_remove(m_source);
    }
    bool Answered() const { return m_answered; }
    Shown shown;

private:
    static gboolean Tick(gpointer self) { return static_cast<CDialogAnswerer*>(self)->Poll(); }

    gboolean Poll()
    {
        GtkWidget* found = nullptr;
        GtkWidget* other = nullptr;
        GList* windows = gtk_window_list_toplevels();
        for (GList* w = windows; w; w = w->next) {
            if (!GTK_IS_DIALOG(w->data) || !gtk_widget_get_mapped(GTK_WIDGET(w->data)))
                continue;
            GType type = g_type_from_name(m_typeName);
            if (type && G_TYPE_CHECK_INSTANCE_TYPE(w->data, type))
                found = GTK_WIDGET(w->data);
            else
                other = GTK_WIDGET(w->data);
        }
        g_list_free(windows);
        if (++m_ticks > 200) { // 10 s: never leave a modal dialog blocking the run
            if (other) {
                shown.type = G_OBJECT_TYPE_NAME(other);
                gtk_dialog_response(GTK_DIALOG(other), GTK_RESPONSE_CANCEL);
            }
            m_source = 0;
            return G_SOURCE_REMOVE;
        }
        if (!found || ++m_seenTicks < 8) // let it lay out and draw
            return G_SOURCE_CONTINUE;
        shown.type = G_OBJECT_TYPE_NAME(found);
        Collect(GTK_DIALOG(found), found, shown);
        if (!m_shot.empty())
            Screenshot(m_shot);
        m_answered = true;
        m_source = 0;
        gtk_dialog_response(GTK_DIALOG(found), m_response);
        return G_SOURCE_REMOVE;
    }

    const char* m_typeName;
    int m_response;
    std::string m_shot;
    guint m_source = 0;
    int m_ticks = 0, m_seenTicks = 0;
    bool m_answered = false;
};

// The locale tag of the run, from the environment it was started with, for
// screenshot names: "C", "de_DE.UTF-8", "C.UTF-8-LANGUAGE-fr:en" ...
// The entries the process was started with, from /proc/self/environ.
std::vector<std::string> StartEnvironment()
{
    std::string all = ReadFile("/proc/self/environ");
    std::vector<std::string> out;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\0', start);
        if (end == std::string::npos)
            end = all.size();
        out.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// The locale-related entries of an environment, sorted.
std::vector<std::string> LocaleEntries(const std::vector<std::string>& env)
{
    std::vector<std::string> out;
    for (const std::string& e : env)
        if (e.rfind("LANG=", 0) == 0 || e.rfind("LANGUAGE=", 0) == 0 || e.rfind("LC_", 0) == 0)
            out.push_back(e);
    std::sort(out.begin(), out.end());
    return out;
}

// What /usr/bin/env prints when started with environment (null: the default).
std::vector<std::string> ChildSees(const std::vector<std::string>* environment)
{
    int p[2];
    if (pipe2(p, O_CLOEXEC) != 0)
        return {};
    platform::SpawnRequest request;
    request.argv = {"/usr/bin/env"};
    request.environment = environment;
    request.stdoutFd = p[1];
    pid_t pid = -1;
    int rc = platform::Spawn(request, &pid);
    close(p[1]);
    std::string out;
    char buf[4096];
    ssize_t n;
    while (rc == 0 && (n = read(p[0], buf, sizeof buf)) > 0)
        out.append(buf, static_cast<size_t>(n));
    close(p[0]);
    if (rc == 0)
        waitpid(pid, nullptr, 0);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < out.size()) {
        size_t end = out.find('\n', start);
        lines.push_back(out.substr(start, end - start));
        start = end == std::string::npos ? out.size() : end + 1;
    }
    return LocaleEntries(lines);
}

std::string RunTag()
{
    std::string lang = "unset", language;
    for (const std::string& e : StartEnvironment()) {
        if (e.rfind("LANG=", 0) == 0 && e.size() > 5)
            lang = e.substr(5);
        if (e.rfind("LANGUAGE=", 0) == 0 && e.size() > 9)
            language = "-LANGUAGE-" + e.substr(9);
    }
    return lang + language;
}

// The locale categories as the program had them before anything ran.
const std::map<int, std::string> kAtStart = [] {
    std::map<int, std::string> m;
    for (int c : {LC_CTYPE, LC_NUMERIC, LC_TIME, LC_COLLATE, LC_MONETARY, LC_MESSAGES})
        m[c] = std::setlocale(c, nullptr);
    return m;
}();

class ToolkitLanguageTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(Start());
        SetUserDialogs(nullptr); // the real dialogs
    }
};

const std::map<int, std::string> kYesNoCancel = {
    {GTK_RESPONSE_YES, "Ja"}, {GTK_RESPONSE_NO, "Nein"}, {GTK_RESPONSE_CANCEL, "Abbrechen"}};

} // namespace

TEST_F(ToolkitLanguageTest, SaveQuestionOffersJaNeinAbbrechen)
{
    std::string path = File("Full.java", "class Full {}\r\n");
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    int el, ec;
    doc->Buffer().InsertTextAt(nullptr, 0, 0, "x", el, ec, ACT_TYPING);
    PumpEvents(30);
    {
        CDialogAnswerer answer("GtkMessageDialog", GTK_RESPONSE_CANCEL, "messagebox-" + RunTag());
        Frame()->RouteCommand(kib::ID_FILE_CLOSE);
        ASSERT_TRUE(answer.Answered());
        EXPECT_TRUE(answer.shown.Has("Änderungen in Full.java speichern?"));
        EXPECT_EQ(answer.shown.buttons, kYesNoCancel);
    }
    EXPECT_EQ(app->Docs().Documents().size(), 1u) << "Abbrechen keeps the document";
    {
        CDialogAnswerer answer("GtkMessageDialog", GTK_RESPONSE_NO, "");
        Frame()->RouteCommand(kib::ID_FILE_CLOSE);
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(answer.shown.buttons, kYesNoCancel);
    }
    EXPECT_TRUE(app->Docs().Documents().empty()) << "Nein closes it unsaved";
    EXPECT_EQ(ReadFile(path), "class Full {}\r\n");
}

TEST_F(ToolkitLanguageTest, EveryMessageBoxStyleHasGermanButtonsAndAnswersByThem)
{
    struct Case {
        long style;
        int response;
        int result;
        std::map<int, std::string> buttons;
    };
    const std::vector<Case> cases = {
        {wxOK | wxICON_ERROR, GTK_RESPONSE_OK, wxOK, {{GTK_RESPONSE_OK, "OK"}}},
        {wxOK | wxCANCEL, GTK_RESPONSE_CANCEL, wxCANCEL,
         {{GTK_RESPONSE_OK, "OK"}, {GTK_RESPONSE_CANCEL, "Abbrechen"}}},
        {wxYES_NO | wxICON_QUESTION, GTK_RESPONSE_YES, wxYES,
         {{GTK_RESPONSE_YES, "Ja"}, {GTK_RESPONSE_NO, "Nein"}}},
        {wxYES_NO | wxCANCEL, GTK_RESPONSE_NO, wxNO, kYesNoCancel},
        {wxYES_NO | wxCANCEL, GTK_RESPONSE_DELETE_EVENT, wxCANCEL, kYesNoCancel},
    };
    for (const Case& c : cases) {
        CDialogAnswerer answer("GtkMessageDialog", c.response, "");
        int result = UserDialogs().MessageBox(Frame(), wxString::FromUTF8("Frage"), "Kib", c.style);
        ASSERT_TRUE(answer.Answered()) << c.style;
        EXPECT_EQ(answer.shown.buttons, c.buttons) << c.style;
        EXPECT_EQ(result, c.result) << c.style;
    }
}

TEST_F(ToolkitLanguageTest, NativeDialogsComeUpInGerman)
{
    {
        CDialogAnswerer answer("GtkFileChooserDialog", GTK_RESPONSE_CANCEL, "filechooser-" + RunTag());
        wxArrayString paths;
        EXPECT_FALSE(UserDialogs().OpenFiles(Frame(), "Java (*.java)|*.java", paths));
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(answer.shown.buttons,
                  (std::map<int, std::string>{{GTK_RESPONSE_CANCEL, "Abbrechen"}, {GTK_RESPONSE_ACCEPT, "Öffnen"}}));
        EXPECT_TRUE(answer.shown.Has("Andere Orte")) << "the places list";
        EXPECT_TRUE(answer.shown.Has("Größe")) << "the file list's columns";
        EXPECT_FALSE(answer.shown.Has("Size"));
    }
    {
        CDialogAnswerer answer("GtkFileChooserDialog", GTK_RESPONSE_CANCEL, "");
        wxString path = "Neu.java";
        EXPECT_FALSE(UserDialogs().SaveAs(Frame(), "Java (*.java)|*.java", path));
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(answer.shown.buttons,
                  (std::map<int, std::string>{{GTK_RESPONSE_CANCEL, "Abbrechen"}, {GTK_RESPONSE_ACCEPT, "Speichern"}}));
        EXPECT_TRUE(answer.shown.Has("_Name:") || answer.shown.Has("Name:"));
    }
    {
        CDialogAnswerer answer("GtkFileChooserDialog", GTK_RESPONSE_CANCEL, "");
        wxString folder = wxString::FromUTF8(dir);
        EXPECT_FALSE(UserDialogs().ChooseFolder(Frame(), "Ordner", folder));
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(answer.shown.buttons.at(GTK_RESPONSE_CANCEL), "Abbrechen");
    }
    {
        // wxWidgets 3.2 builds the colour dialog on GtkColorSelectionDialog.
        CDialogAnswerer answer("GtkColorSelectionDialog", GTK_RESPONSE_CANCEL,
                               "colour-" + RunTag());
        wxColourData data;
        wxColourDialog dlg(Frame(), &data);
        dlg.ShowModal();
        ASSERT_TRUE(answer.Answered()) << answer.shown.type;
        EXPECT_EQ(answer.shown.buttons.at(GTK_RESPONSE_CANCEL), "Abbrechen");
        EXPECT_EQ(answer.shown.buttons.at(GTK_RESPONSE_OK), "Auswählen");
        EXPECT_TRUE(answer.shown.Has("Sättigung:"));
    }
    {
        CDialogAnswerer answer("GtkFontChooserDialog", GTK_RESPONSE_CANCEL, "");
        wxFontData data;
        wxFontDialog dlg(Frame(), data);
        dlg.ShowModal();
        ASSERT_TRUE(answer.Answered()) << answer.shown.type;
        EXPECT_EQ(answer.shown.buttons.at(GTK_RESPONSE_CANCEL), "Abbrechen");
        EXPECT_EQ(answer.shown.buttons.at(GTK_RESPONSE_OK), "Auswählen");
        EXPECT_TRUE(answer.shown.Has("Schriftfamilie"));
    }
}

TEST_F(ToolkitLanguageTest, WxWidgetsOwnTextsComeFromItsGermanCatalogue)
{
    // wxWidgets' own dialogs (the printer set-up) take their texts from it.
    EXPECT_EQ(wxGetTranslation("Print Setup").utf8_string(), "Druckereinstellungen");
    EXPECT_EQ(wxGetTranslation("Printer").utf8_string(), "Drucker");
    EXPECT_EQ(wxStripMenuCodes(wxGetStockLabel(wxID_CANCEL)).utf8_string(), "Abbrechen");
    EXPECT_EQ(wxStripMenuCodes(wxGetStockLabel(wxID_YES)).utf8_string(), "Ja");
}

TEST_F(ToolkitLanguageTest, OnlyTheMessageLocaleChangesAndChildrenKeepTheUsersEnvironment)
{
    for (const auto& [category, value] : kAtStart) {
        if (category != LC_MESSAGES) {
            EXPECT_EQ(std::setlocale(category, nullptr), value) << category;
        }
    }
    std::string messages = std::setlocale(LC_MESSAGES, nullptr);
    EXPECT_TRUE(messages.rfind("de_", 0) == 0) << messages << " (setup.sh generates de_DE.UTF-8)";
    const char* language = std::getenv("LANGUAGE");
    EXPECT_TRUE(!language || !*language || std::string(language).rfind("de", 0) == 0) << language;

    std::vector<std::string> user = LocaleEntries(StartEnvironment());
    std::vector<std::string> childEnv = toolchain::ChildEnvironment(toolchain::IdeClassPath());
    // Compiler and interpreter: the user's locale, with a UTF-8 character
    // type where it would be ASCII (under C).
    std::vector<std::string> console = LocaleEntries(
        toolchain::Utf8Console(StartEnvironment(), &platform::CodesetOfLocale).environment);
    EXPECT_EQ(ChildSees(&childEnv), console) << "compiler and interpreter";
    EXPECT_EQ(ChildSees(nullptr), user) << "programs started with Kib's environment";
}
