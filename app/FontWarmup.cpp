#include "app/FontWarmup.h"

#include <wx/defs.h>

#if defined(__WXGTK3__) && defined(KIB_HAVE_GTK3)
#include <gtk/gtk.h>
#include <pango/pangocairo.h>

#include <string>
#include <system_error>
#include <vector>

CFontWarmup::CFontWarmup()
{
    // The toolkit's own font is asked here: its settings belong to this thread.
    std::vector<std::string> names = {"Courier New 10", "Courier 10"};
    gchar* ui = nullptr;
    if (GtkSettings* settings = gtk_settings_get_default())
        g_object_get(settings, "gtk-font-name", &ui, nullptr);
    names.emplace_back(ui ? ui : "Sans 10");
    g_free(ui);
    try {
        m_thread = std::thread([names] {
            // A font map of this thread's own; what it fills (the font
            // configuration, the opened faces) is shared by every thread.
            PangoFontMap* map = pango_cairo_font_map_new();
            PangoContext* context = pango_font_map_create_context(map);
            for (const std::string& name : names) {
                PangoFontDescription* description = pango_font_description_from_string(name.c_str());
                if (PangoFont* font = pango_font_map_load_font(map, context, description))
                    g_object_unref(font);
                pango_font_description_free(description);
            }
            g_object_unref(context);
            g_object_unref(map);
        });
    } catch (const std::system_error&) {
        // No thread: the window looks its fonts up itself.
    }
}

#else

CFontWarmup::CFontWarmup() = default;

#endif

CFontWarmup::~CFontWarmup()
{
    if (m_thread.joinable())
        m_thread.join();
}
