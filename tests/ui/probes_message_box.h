// A message box with details shown for real and visited as a user would,
// the same on either twin (tests/ui/qt/probes_message_box.cpp,
// tests/ui/win32/probes_message_box.cpp).
#pragma once

// What the user met in the last box visited.
struct DetailsVisit {
    int boxes = 0;          // boxes visited
    bool reached = false;   // Tab reached the details field (named "Details")
    bool scrolled = false;  // Page Down there scrolled it
};

// While VISIT is set, each message box with details is put to the scripted
// user as before and then shown: the user presses Show Details..., Tab
// (at most 8 times) until the focus is in the details field, and Page Down
// there; VISIT records it. The box is then closed with its default answer.
// nullptr: boxes are not shown.
void VisitMessageBoxDetails(DetailsVisit* visit);
