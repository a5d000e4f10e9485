// Kitprobe's entry point.
#include "kitprobe/JdkSearchApp.h"

wxIMPLEMENT_APP(CJdkSearchApp);
