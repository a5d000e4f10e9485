#include "resources/StringTable.h"

#include "resources/CommandIds.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace kib {

namespace {

struct Entry {
    int id;
    const char* text;
};

// Any order; sorted once on first use.
constexpr Entry kStrings[] = {
    {IDS_TOOLS_DELETE_ASK, "Wollen Sie den Eintrag wirklich löschen"},
    {IDS_TOOLS_CAPTION, "Tools"},
    {IDS_TOOLS_NEW_ENTRY, "Neuer Eintrag"},
    {IDS_UPDATE_CAPTION, "Im Web nach einer neuen Version suchen..."},
    {IDS_UPDATE_NONE, "Sorry, keine neue Version verfügbar."},
    {IDS_UPDATE_NEWER, "Eine neue Version von KIB ist verfügbar.\n\nDetails:\nVersion: \t%s\nDatum: \t%s\nGröße: "
                       "\t%s\n\nWollen Sie die Webseite von KIB besuchen?"},
    {IDS_UPDATE_STEP_CONNECT, "Verbinden..."},
    {IDS_UPDATE_STEP_INIT, "Initialisieren..."},
    {IDS_UPDATE_STEP_FETCH, "Daten vom Server beziehen..."},
    {IDS_UPDATE_STEP_EVALUATE, "Daten auswerten..."},
    {IDS_UPDATE_FAILED, "Beim überprüfen der Version ist, während dem Versuch online zu gehen, ein Fehler "
                        "aufgetreten. Bitte gehen Sie manuell online und versuchen Sie es erneut."},
    {IDS_TOOLBAR_STANDARD, "Standard"},
    {IDS_DOC_TEMPLATE, "\nKib\nKib\nKib Files (*.java)\n.java\nKib.Document\nKib Document"},
    {ID_VIEW_CUSTOMIZE, "Einstellen der Symbolleisten und Extras.\nEinstellen"},
    {ID_VIEW_FULLSCREEN, "Schaltet in den Vollbildschirm-Modus"},
    {ID_VIEW_USER_TOOLBAR1 + 0, "Blendet die Benutzer-Toolbar ein oder aus\nBenutzer-Toolbar ein-/ausblenden"},
    {ID_VIEW_USER_TOOLBAR1 + 1, "Blendet die Benutzer-Toolbar ein oder aus\nBenutzer-Toolbar ein-/ausblenden"},
    {ID_VIEW_USER_TOOLBAR1 + 2, "Blendet die Benutzer-Toolbar ein oder aus\nBenutzer-Toolbar ein-/ausblenden"},
    {ID_VIEW_USER_TOOLBAR1 + 3, "Blendet die Benutzer-Toolbar ein oder aus\nBenutzer-Toolbar ein-/ausblenden"},
    {ID_VIEW_USER_TOOLBAR1 + 4, "Blendet die Benutzer-Toolbar ein oder aus\nBenutzer-Toolbar ein-/ausblenden"},
    {ID_VIEW_USER_TOOLBAR1 + 5, "Blendet die Benutzer-Toolbar ein oder aus\nBenutzer-Toolbar ein-/ausblenden"},
    {ID_VIEW_USER_TOOLBAR1 + 6, "Blendet die Benutzer-Toolbar ein oder aus\nBenutzer-Toolbar ein-/ausblenden"},
    {ID_VIEW_USER_TOOLBAR1 + 7, "Blendet die Benutzer-Toolbar ein oder aus\nBenutzer-Toolbar ein-/ausblenden"},
    {ID_VIEW_USER_TOOLBAR1 + 8, "Blendet die Benutzer-Toolbar ein oder aus\nBenutzer-Toolbar ein-/ausblenden"},
    {ID_VIEW_USER_TOOLBAR1 + 9, "Blendet die Benutzer-Toolbar ein oder aus\nBenutzer-Toolbar ein-/ausblenden"},
    {ID_VIEW_WORKSPACE, "Blendet den Workspace ein oder aus.\nWorkspace ein-/ausschalten"},
    {ID_VIEW_OUTPUT, "Blendet die Ausgabe ein oder aus.\nAusgang ein-/ausschalten"},
    {ID_JAVA_COMPILE, "Compiliert die aktuelle Datei\nCompilieren..."},
    {ID_JAVA_RUN, "Startet die aktuelle Datei\nStarten"},
    {ID_JAVA_APPLETVIEWER, "Startet die aktuelle Datei im AppletViewer\nStarten mit AppletViewer"},
    {ID_JAVA_CONSOLE, "Öffnet eine MSDOS-Eingabeaufforderung\nEingabeaufforderung"},
    {IDS_MSG_REOPEN_FAILED,
     "Nicht alle Fenster, die bei der letzten Sitzung geöffnet waren, konnten geöffnet werden!\n"
     "Warscheinlich wurden sie gelöscht oder verschoben."},
    {IDS_MSG_SAVE_CHANGES, "Änderungen in %1 speichern?"},
    {IDS_MSG_SAVE_FAILED,
     "Die Datei %s konnte nicht gespeichert werden:\n%s\n\nDie Änderungen sind nicht verloren; "
     "speichern Sie die Datei an einem anderen Ort."},
    {IDS_MSG_FILE_NOT_FOUND, "%s\nDie Datei wurde nicht gefunden."},
    {IDS_MSG_IS_DIRECTORY, "%s\nDies ist ein Verzeichnis und keine Datei."},
    {IDS_MSG_NO_READ_PERMISSION, "%s\nDie Datei kann nicht gelesen werden: Zugriff verweigert."},
    {IDS_MSG_OPEN_FAILED, "%s\nDie Datei konnte nicht geöffnet werden."},
    {IDS_MSG_FILE_TOO_LARGE, "%s\nDie Datei ist zu groß, um sie zu öffnen (%s MB; höchstens %s MB)."},
    {IDS_MSG_ENTER_INTEGER, "Geben Sie bitte eine ganze Zahl ein."},
    {IDS_MSG_INTEGER_RANGE, "Geben Sie bitte eine ganze Zahl zwischen %1 und %2 ein."},
    {IDS_COLOUR_AUTOMATIC, "Automatisch"},
    {IDS_COLOUR_CUSTOM, "Andere Farben..."},
    {IDS_DESTINATION_FOLDER, "Zielpfad bestimmen"},
    {IDS_COLOR_WND, "Editorfenster"},
    {IDS_COLOR_SELECTION, "Selektion"},
    {IDS_COLOR_MARGIN, "Selektionsrand (links)"},
    {IDS_SYNTAX_KEYWORD, "Schlüsselwörter"},
    {IDS_SYNTAX_FUNCTION, "Funktionsnamen"},
    {IDS_SYNTAX_STRING, "Zeichenketten"},
    {IDS_SYNTAX_COMMENT, "Einzeilige Kommentare ( // )"},
    {IDS_SYNTAX_COMMENTMULTI, "Mehrzeilige Kommentare ( /* */ )"},
    {IDS_SYNTAX_COMMENTJAVADOC, "Javadoc Kommentare ( /** */ )"},
    {IDS_SYNTAX_NUMBER, "Nummern"},
    {IDS_SYNTAX_OPERATOR, "Operatoren"},
    {IDS_SYNTAX_BRACEMATCH, "Hervorhebung zugehöriger Klammern"},
    {IDS_MSG_LINE_OUT_OF_RANGE, "Geben Sie bitte eine Zeilennummer zwischen 1 und %d ein."},
    {IDS_MSG_NOT_A_REGULAR_FILE, "%s\nDies ist keine normale Datei."},
    {IDS_MSG_HARD_LINK_SPLIT,
     "%s\nDie Datei hatte weitere Namen (harte Verknüpfungen). Sie wurde als eigene Datei "
     "gespeichert; unter den anderen Namen steht weiterhin der bisherige Text."},
    {IDS_MSG_RELOAD_QUESTION, "Diese Datei wurde ausserhalb des Editors verändert. Wollen Sie sie neu laden?"},
    {IDS_MSG_RELOAD_MODIFIED,
     "Achtung: Das Dokument enthält ungespeicherte Änderungen. Beim Neuladen gehen sie verloren."},
    {IDS_RELOAD_THIS_FILE, "&Automatisches Neuladen bei Änderung dieser Datei"},
    {IDS_RELOAD_ALL_OF_TYPE, "Automatisches Neuladen aller Dateien diesen &Typs"},
    {IDS_MSG_WATCH_LIMIT, "%s wird nicht auf Änderungen durch andere Programme überwacht: die Systemgrenze für überwachte Ordner ist erreicht."},
    {IDS_MSG_CONVERT_NOT_IN_CP1252,
     "Die Datei kann nicht in Windows-1252 umgewandelt werden: das Zeichen „%s“ (U+%04X) in Zeile %d gibt es in "
     "dieser Kodierung nicht."},
    {ID_CONVERT_TO_UTF8, "Wandelt die Datei in die Kodierung UTF-8 um\nIn UTF-8 umwandeln"},
    {ID_CONVERT_TO_CP1252, "Wandelt die Datei in die Kodierung Windows-1252 um\nIn Windows-1252 umwandeln"},
    {IDS_MSG_CHAR_NOT_IN_CP1252, "Das Zeichen „%s“ (U+%04X) gibt es in der Kodierung Windows-1252 dieser Datei nicht; es wurde nicht eingefügt."},
    {IDS_MSG_REOPEN_BOUNDED,
     "Die letzte Sitzung hatte %d Dateien geöffnet; wieder geöffnet wurden nur die ersten %d.\n"
     "Die übrigen %d bleiben in der Liste und werden für die nächste Sitzung wieder gespeichert."},
    {IDS_STATUS_LINE, "Zeile: %d"},
    {IDS_STATUS_COLUMN, "Spalte: %d"},
    {IDS_STATUS_LINE_SIZER, "Zeile: 0-------"},
    {IDS_STATUS_COLUMN_SIZER, "Spalte: 0-----"},
    {IDS_INDICATOR_OVR, "ÜB"},
    {IDS_INDICATOR_CAPS, "UF"},
    {IDS_INDICATOR_NUM, "NUM"},
    {IDS_INDICATOR_SCRL, "RF"},
    {IDS_GOTO_LINE_CAPTION, "Zu Zeile springen..."},
    {IDS_GOTO_LINE_LABEL, "&Zeilennummer:"},
    {IDS_BUTTON_OK, "OK"},
    {IDS_BUTTON_CANCEL, "Abbrechen"},
    {IDS_BUTTON_YES, "&Ja"},
    {IDS_BUTTON_NO, "&Nein"},
    {IDS_ABOUT_CAPTION, "Info über Kib"},
    {IDS_ABOUT_LINE1, "Kib – die schnelle Entwicklungsumgebung für Java-Quelldateien"},
    {IDS_ABOUT_LINE2, "Version %s. Geschrieben in C++20 mit wxWidgets."},
    {IDS_ABOUT_URL, "https://www.orvane.de/kib"},
    {IDS_OPEN_FILTER, "Java Files (*.java;*.jav)|*.java;*.jav|All Files (*.*)|*|"},
    {IDS_SAVE_FILTER, "Kib Files (*.java)|*.java|All Files (*.*)|*|"},
    {IDS_OPEN_CAPTION, "Öffnen"},
    {IDS_SAVE_AS_CAPTION, "Speichern unter"},
    {IDS_TAB_FILES, "Dateien"},
    {IDS_TAB_EXPLORER, "Explorer"},
    {IDS_TAB_COMPILER, "Compilerausgaben"},
    {IDS_TAB_OUTPUT, "Ausgaben"},
    {IDS_TAB_SEARCH1, "Suchergebnisse 1"},
    {IDS_TAB_SEARCH2, "Suchergebnisse 2"},
    {IDS_BAR_WORKSPACE, "Workspace"},
    {IDS_BAR_OUTPUT, "Output"},
    {IDS_MSGBOX_CAPTION, "KIB"},
    {IDS_NO_PRINTER, "Es ist kein Drucker eingerichtet."},
    {IDS_CUSTOMIZE_CAPTION, "Anpassen"},
    {IDS_FULLSCREEN_TOOLBAR, "Vollbild"},
    {IDS_EXPLORER_COMPUTER, "Arbeitsplatz"},
    {IDS_EXPLORER_NETWORK, "Netzwerkumgebung"},
    {IDS_EXPLORER_ROOT_DRIVE, "Dateisystem (/)"},
    {IDS_EXPLORER_HOME_DRIVE, "Persönlicher Ordner (%s)"},
    {IDS_EXPLORER_MOUNT_DRIVE, "%s (%s)"},
    {IDS_PROPERTIES_CAPTION, "Eigenschaften von %s"},
    {IDS_PROPERTIES_PATH, "Pfad:"},
    {IDS_PROPERTIES_TYPE, "Typ:"},
    {IDS_PROPERTIES_SIZE, "Größe:"},
    {IDS_PROPERTIES_MODIFIED, "Geändert:"},
    {IDS_PROPERTIES_PERMISSIONS, "Rechte:"},
    {IDS_PROPERTIES_OWNER, "Besitzer:"},
    {IDS_PROPERTIES_FOLDER, "Ordner"},
    {IDS_PROPERTIES_FILE, "Datei"},
    {IDS_PROPERTIES_LINK, "Verknüpfung auf %s"},
    {IDS_PROPERTIES_OTHER, "Sonstiges"},
    {IDS_PROPERTIES_BYTES, "%s Bytes"},
    {IDS_PROPERTIES_CLOSE, "Schließen"},
    {IDS_PROPERTIES_UNREADABLE, "nicht lesbar: %s"},
    {IDS_APP_TITLE, "Kib"},
    {IDS_IDLE_MESSAGE, "Bereit"},
    {IDS_PRINT_FOOTER, "Page %d/%d"},
    {ID_FILE_NEW, "Erstellt ein neues Dokument.\nNeu"},
    {ID_FILE_OPEN, "Öffnet ein bestehendes Dokument.\nÖffnen"},
    {ID_FILE_CLOSE, "Schließt das aktive Dokument.\nSchließen"},
    {ID_FILE_SAVE, "Speichert das aktive Dokument.\nSpeichern"},
    {ID_FILE_SAVE_AS, "Speichert das aktive Dokument unter neuem Namen.\nSpeichern unter"},
    {ID_FILE_PRINT_SETUP, "Ändert den Drucker und die Druckoptionen.\nDruckereinrichtung"},
    {ID_FILE_PRINT, "Druckt das aktive Dokument.\nDrucken"},
    {ID_FILE_PRINT_PREVIEW, "Zeigt ganze Seiten an.\nSeitenansicht"},
    {ID_FILE_MRU_FILE1 + 0, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 1, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 2, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 3, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 4, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 5, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 6, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 7, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 8, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 9, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 10, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 11, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 12, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 13, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 14, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 15, "Öffnet dieses Dokument."},
    {ID_EDIT_CLEAR, "Löscht die Compilerausgaben.\nLöschen"},
    {ID_EDIT_COPY, "Kopiert die Markierung und überträgt sie in die Zwischenablage.\nKopieren"},
    {ID_EDIT_CUT, "Entfernt die Markierung und überträgt sie in die Zwischenablage.\nAusschneiden"},
    {ID_EDIT_FIND, "Sucht den angegebenen Text.\nSuchen"},
    {ID_EDIT_PASTE, "Fügt den Inhalt der Zwischenablage ein.\nEinfügen"},
    {ID_EDIT_REPEAT, "Wiederholt die letzte Aktion.\nWiederholen"},
    {ID_EDIT_REPLACE, "Ersetzt einen bestimmten Text durch einen anderen.\nErsetzen"},
    {ID_EDIT_SELECT_ALL, "Markiert das gesamte Dokument.\nAlles markieren"},
    {ID_EDIT_UNDO, "Macht die letzte Aktion rückgängig.\nRückgängig"},
    {ID_EDIT_REDO, "Wiederholt die vorher rückgängig gemachte Aktion.\nWiederherstellen"},
    {ID_WINDOW_NEW, "Öffnet ein weiteres Fenster für das aktive Dokument.\nNeues Fenster"},
    {ID_WINDOW_ARRANGE, "Ordnet die Symbole im unteren Bereich des Fensters an.\nSymbole anordnen"},
    {ID_WINDOW_CASCADE, "Ordnet die Fenster überlappend an.\nÜberlappende Fenster"},
    {ID_WINDOW_TILE_HORZ, "Ordnet die Fenster untereinander an.\nFenster untereineinander"},
    {ID_WINDOW_TILE_VERT, "Ordnet die Fenster nebeneinander an.\nFenster nebeneinander"},
    {ID_APP_EXIT, "Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.\nBeenden"},
    {ID_HELP_FINDER, "Listet die Hilfethemen auf.\nHilfethemen"},
    {ID_VIEW_TOOLBAR, "Blendet die Symbolleiste ein oder aus.\nSymbolleiste ein-/ausschalten"},
    {ID_VIEW_STATUS_BAR, "Blendet die Statusleiste ein oder aus.\nStatusleiste ein-/ausschalten"},
    {IDS_OPEN_FILES_ROOT, "Geöffnete Dateien"},
    {IDS_OPTIONS_CAPTION, "Optionen"},
    {ID_EDIT_FIND_BOX, "Suchen nach Text"},
    // The find and replace dialogs' messages (%s the search text, %d the count).
    {8606, "String \"%s\" kann nicht gefunden werden!"},
    {7024, "String %s wurde %d mal ersetzt!"},
};

const std::vector<Entry>& Sorted()
{
    static const std::vector<Entry> sorted = [] {
        std::vector<Entry> v(std::begin(kStrings), std::end(kStrings));
        std::stable_sort(v.begin(), v.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
        return v;
    }();
    return sorted;
}

const Entry* Find(int id)
{
    const std::vector<Entry>& v = Sorted();
    auto it = std::lower_bound(v.begin(), v.end(), id, [](const Entry& e, int x) { return e.id < x; });
    if (it == v.end() || it->id != id)
        return nullptr;
    return &*it;
}

} // namespace

std::string_view LoadKibString(int id)
{
    const Entry* e = Find(id);
    return e ? std::string_view(e->text) : std::string_view();
}

std::string_view CommandPrompt(int id)
{
    std::string_view s = LoadKibString(id);
    return s.substr(0, s.find('\n'));
}

std::string_view CommandTooltip(int id)
{
    std::string_view s = LoadKibString(id);
    size_t nl = s.find('\n');
    return nl == std::string_view::npos ? std::string_view() : s.substr(nl + 1);
}

std::string TemplateSubstring(std::string_view templ, int n)
{
    size_t start = 0;
    for (int i = 0; i < n; ++i) {
        size_t nl = templ.find('\n', start);
        if (nl == std::string_view::npos)
            return {};
        start = nl + 1;
    }
    size_t end = templ.find('\n', start);
    return std::string(templ.substr(start, end == std::string_view::npos ? templ.npos : end - start));
}

bool StringTableHasDuplicates()
{
    const std::vector<Entry>& v = Sorted();
    return std::adjacent_find(v.begin(), v.end(), [](const Entry& a, const Entry& b) {
               return a.id == b.id;
           }) != v.end();
}

} // namespace kib
