// "Auf neue &Version prüfen": the application's update operation. The check
// runs on a worker thread while the progress window paints and can stop it;
// its result is told in the update check's message boxes.
#pragma once

class wxWindow;

// noDial: never ask the system to go online; interactive: also tell when no
// newer version exists or the check failed (the menu passes false, true).
void CheckForNewVersion(wxWindow* owner, bool noDial, bool interactive);
